// Reading and writing a Keyboard step's text.

#include "steps/KeyText.h"

namespace {

constexpr KeyName Key(std::string_view name, uint8_t key) {
    return {name, KeyTokenKind::Key, key, 0};
}

// The first name of the table that gives the token, or nullptr.
const KeyName* NameOf(const KeyToken& token) {
    for (const KeyName& name : KeyNameTable) {
        const bool same = token.kind == KeyTokenKind::Character
                              ? name.kind == token.kind && name.character == token.character
                              : name.kind == token.kind && name.key == token.key;
        if (same) {
            return &name;
        }
    }
    return nullptr;
}

KeyToken TokenOfName(std::string_view name) {
    for (const KeyName& entry : KeyNameTable) {
        if (entry.name == name) {
            return {entry.kind, entry.character, entry.key};
        }
    }
    // An unknown name presses the current key again, unless it starts like a modifier's name.
    const bool modifierLike =
        name.starts_with("ALT") || name.starts_with("CONTROL") || name.starts_with("SHIFT");
    return {modifierLike ? KeyTokenKind::Nothing : KeyTokenKind::PressAgain, 0, 0};
}

}  // namespace

const std::vector<KeyName> KeyNameTable = [] {
    std::vector<KeyName> table = {
        Key("BACKSPACE", 0x08),
        Key("DELETE", 0x2E),
        Key("END", 0x23),
        Key("ENTER", 0x0D),
        Key("ESCAPE", 0x1B),
        Key("HOME", 0x24),
        Key("INSERT", 0x2D),
        Key("RETURN", 0x0D),
        Key("TAB", 0x09),
        Key("UP", 0x26),
        Key("DOWN", 0x28),
        Key("LEFT", 0x25),
        Key("RIGHT", 0x27),
        {"ALTUP", KeyTokenKind::ModifierUp, kAltKey, 0},
        {"ALTDOWN", KeyTokenKind::ModifierDown, kAltKey, 0},
        {"CONTROLUP", KeyTokenKind::ModifierUp, kControlKey, 0},
        {"CONTROLDOWN", KeyTokenKind::ModifierDown, kControlKey, 0},
        {"SHIFTUP", KeyTokenKind::ModifierUp, kShiftKey, 0},
        {"SHIFTDOWN", KeyTokenKind::ModifierDown, kShiftKey, 0},
        Key("PAGEDOWN", 0x22),
        Key("PAGEUP", 0x21),
        Key("PRINTSCREEN", 0x2C),
        Key("F1", 0x70),
        Key("F2", 0x71),
        Key("F3", 0x72),
        Key("F4", 0x73),
        Key("F5", 0x74),
        Key("F6", 0x75),
        Key("F7", 0x76),
        Key("F8", 0x77),
        Key("F9", 0x78),
        Key("F10", 0x79),
        Key("F11", 0x7A),
        Key("F12", 0x7B),
        // ";" ends a field of the step file and "{" starts a name.
        {"SEMICOLON", KeyTokenKind::Character, 0, ';'},
        {"LEFTBRACE", KeyTokenKind::Character, 0, '{'},
    };
    return table;
}();

std::vector<KeyToken> ReadKeyText(std::string_view text) {
    std::vector<KeyToken> tokens;
    // A "{" after the last "}" has none to close it: found once, so that a text of many such
    // braces is read in one pass.
    const size_t lastClose = text.rfind('}');
    size_t position = 0;
    while (position < text.size()) {
        const size_t close =
            text[position] == '{' && lastClose != std::string_view::npos && position < lastClose
                ? text.find('}', position + 1)
                : std::string_view::npos;
        if (close == std::string_view::npos) {
            tokens.push_back({KeyTokenKind::Character, text[position++], 0});
            continue;
        }
        tokens.push_back(TokenOfName(text.substr(position + 1, close - position - 1)));
        position = close + 1;
    }
    return tokens;
}

std::string WriteKeyText(const std::vector<KeyToken>& tokens) {
    std::string text;
    for (const KeyToken& token : tokens) {
        if (const KeyName* name = NameOf(token)) {
            text += "{" + std::string(name->name) + "}";
        } else if (token.kind == KeyTokenKind::Character &&
                   static_cast<unsigned char>(token.character) >= 0x20) {
            text += token.character;
        }
    }
    return text;
}

std::vector<std::string> ChooserKeyNames() {
    std::vector<std::string> names;
    for (const KeyName& name : KeyNameTable) {
        if (name.kind != KeyTokenKind::Character) {
            names.push_back("{" + std::string(name.name) + "}");
        }
    }
    return names;
}
