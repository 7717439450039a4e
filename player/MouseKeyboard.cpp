// Mouse and Keyboard steps: clicks at a screen point, typed texts with key names.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/input.h"
#include "platform/system.h"
#include "player/Player.h"
#include "player/PlayerInternal.h"
#include "steps/KeyNames.h"

namespace {

// [SECTION] Mouse

constexpr uint32_t kLeftDown = 0x0002;
constexpr uint32_t kLeftUp = 0x0004;
constexpr uint32_t kRightDown = 0x0008;
constexpr uint32_t kRightUp = 0x0010;
constexpr uint32_t kMiddleDown = 0x0020;
constexpr uint32_t kMiddleUp = 0x0040;

void Click(uint32_t down, uint32_t up) {
    platform::SendMouseEvent(down);
    platform::SendMouseEvent(up);
}

// [SECTION] Keys

constexpr uint8_t kShift = 0x10;
constexpr uint8_t kControl = 0x11;
constexpr uint8_t kAlt = 0x12;

// Modifier bits of the high byte of a KeyScan code.
constexpr int kNeedsShift = 1;
constexpr int kNeedsControl = 2;
constexpr int kNeedsAlt = 4;

struct ModifierName {
    std::string_view name;
    uint8_t key;
    bool up;
};

constexpr ModifierName kModifierNames[] = {
    {"ALTDOWN", kAlt, false},      {"ALTUP", kAlt, true},        {"CONTROLDOWN", kControl, false},
    {"CONTROLUP", kControl, true}, {"SHIFTDOWN", kShift, false}, {"SHIFTUP", kShift, true},
};

// Characters that cannot stand in a step's text as themselves: ";" ends a field of the step
// file and "{" starts a key name. Each is typed as the character it is.
struct NamedCharacter {
    std::string_view name;
    char character;
};

constexpr NamedCharacter kNamedCharacters[] = {{"SEMICOLON", ';'}, {"LEFTBRACE", '{'}};

// What one text remembers while it is typed.
struct Typing {
    int16_t currentCode = 0;  // last named key or plain character; its low byte is pressed
    // Modifiers held by "{SHIFTDOWN}", "{CONTROLDOWN}", "{ALTDOWN}": a character that needs one
    // of them gets no events of its own for it, so it does not release what the text holds.
    bool shiftHeld = false;
    bool controlHeld = false;
    bool altHeld = false;

    bool& Held(uint8_t modifier) {
        return modifier == kShift ? shiftHeld : modifier == kControl ? controlHeld : altHeld;
    }
};

// Keys that Windows marks as extended, among those a text can name. Without the flag a program
// that reads scan codes takes an arrow key for the number-pad key of the same scan code.
bool IsExtendedKey(uint8_t key) {
    constexpr uint8_t kPageUp = 0x21, kDown = 0x28, kInsert = 0x2D, kDelete = 0x2E;
    return (key >= kPageUp && key <= kDown) || key == kInsert || key == kDelete;
}

// Every key event carries the scan code of its key on the current layout, so that programs that
// read scan codes (remote desktops, consoles, games) see the key that was meant.
void SendKey(uint8_t key, bool up) {
    platform::SendKeyEvent(key, platform::ScanCode(key), IsExtendedKey(key), up);
}

void Press(uint8_t key) {
    SendKey(key, false);
    SendKey(key, true);
}

void PressCurrent(const Typing& typing) {
    Press(static_cast<uint8_t>(typing.currentCode & 0xFF));
}

// Types a plain character with the modifiers its layout needs, pressed before the key and
// released after it in reverse order. Modifiers the text holds by name are left alone.
void TypeCharacter(char c, Typing& typing) {
    const int16_t code = platform::KeyScan(c);
    if (code == -1) {
        // Not on this layout: the character itself, as Unicode input.
        platform::SendUnicodeCharacter(platform::AnsiToCodePoint(c));
        return;
    }
    typing.currentCode = code;
    const int state = (code >> 8) & 0xFF;
    uint8_t modifiers[3];
    int count = 0;
    const struct {
        int bit;
        uint8_t key;
    } needed[] = {{kNeedsShift, kShift}, {kNeedsControl, kControl}, {kNeedsAlt, kAlt}};
    for (const auto& modifier : needed) {
        if ((state & modifier.bit) != 0 && !typing.Held(modifier.key)) {
            modifiers[count++] = modifier.key;
        }
    }
    for (int i = 0; i < count; ++i) {
        SendKey(modifiers[i], false);
    }
    PressCurrent(typing);
    for (int i = count - 1; i >= 0; --i) {
        SendKey(modifiers[i], true);
    }
}

// One "{name}": a named key becomes the current key code; a modifier name sends its one event.
// Unless the name starts like a modifier, the current key code is then pressed, so an unknown or
// empty name presses the last key again.
void TypeKeyName(std::string_view name, Typing& typing) {
    // A named character is typed as any character.
    for (const NamedCharacter& named : kNamedCharacters) {
        if (named.name == name) {
            TypeCharacter(named.character, typing);
            return;
        }
    }
    for (const NamedKey& named : NamedKeys) {
        if (named.name == name) {
            typing.currentCode = named.key;
        }
    }
    for (const ModifierName& modifier : kModifierNames) {
        if (modifier.name == name) {
            SendKey(modifier.key, modifier.up);
            typing.Held(modifier.key) = !modifier.up;
        }
    }
    if (!name.starts_with("ALT") && !name.starts_with("CONTROL") && !name.starts_with("SHIFT")) {
        PressCurrent(typing);
    }
}

}  // namespace

void PlayMouse(Run& run, const StepRecord& step) {
    platform::SetCursorPosition(step.MouseX, step.MouseY);
    if (step.MouseClick == "L_Click") {
        Click(kLeftDown, kLeftUp);
    } else if (step.MouseClick == "Ldbl_Click") {
        Click(kLeftDown, kLeftUp);
        Click(kLeftDown, kLeftUp);
    } else if (step.MouseClick == "R_Click") {
        Click(kRightDown, kRightUp);
    } else if (step.MouseClick == "M_Click") {
        Click(kMiddleDown, kMiddleUp);
    }
    run.did =
        step.MouseClick + " " + std::to_string(step.MouseX) + " " + std::to_string(step.MouseY);
    WaitAfterStep();
}

void PlayKeyboard(Run& run, const StepRecord& step) {
    const std::string& text = step.KeyType == "String" ? step.KeyString : step.KeyName;
    SendKeys(text);
    run.did = "typed " + std::to_string(text.size()) + " characters";
    WaitAfterStep();
}

int SendKeys(const std::string& text) {
    Typing typing;
    const std::string_view rest(text);
    size_t position = 0;
    while (position < rest.size()) {
        if (rest[position] != '{') {
            TypeCharacter(rest[position++], typing);
            continue;
        }
        const size_t close = rest.find('}', position + 1);
        if (close == std::string_view::npos) {
            // An unclosed "{" names no key: it and the rest are plain characters.
            while (position < rest.size()) {
                TypeCharacter(rest[position++], typing);
            }
            break;
        }
        TypeKeyName(rest.substr(position + 1, close - position - 1), typing);
        position = close + 1;
    }
    SendKey(kAlt, true);
    SendKey(kControl, true);
    SendKey(kShift, true);
    return 1;
}
