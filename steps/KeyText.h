// The grammar of a Keyboard step's text: characters typed as they stand, and names between "{"
// and "}" that press a key, hold or release a modifier, or stand for a character that cannot
// stand in a step's text. The player types the tokens read here, the recorder writes its tokens
// here, and the key chooser offers the names of the table.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class KeyTokenKind {
    Character,     // `character` typed with the keys the layout needs for it
    Key,           // `key` pressed and released; it becomes the key an unknown name presses
    ModifierDown,  // `key` (Shift 0x10, Control 0x11, Alt 0x12) held until its ModifierUp
    ModifierUp,
    PressAgain,  // an unknown or empty name: the last key or character's key again
    Nothing,     // an unknown name that starts like a modifier ("SHIFTX"): no key at all
};

struct KeyToken {
    KeyTokenKind kind = KeyTokenKind::Character;
    char character = 0;  // Character, in the ANSI code page
    uint8_t key = 0;     // Key, ModifierDown, ModifierUp: virtual key
    bool operator==(const KeyToken&) const = default;
};

inline constexpr uint8_t kShiftKey = 0x10;
inline constexpr uint8_t kControlKey = 0x11;
inline constexpr uint8_t kAltKey = 0x12;

// Every name of the grammar, in the order the key chooser offers them. Where two names give one
// key (ENTER and RETURN), the first is the one a text is written with.
struct KeyName {
    std::string_view name;
    KeyTokenKind kind;
    uint8_t key;     // Key, ModifierDown, ModifierUp
    char character;  // Character
};
extern const std::vector<KeyName> KeyNameTable;

// The tokens of a text. A "{" without a "}" after it, and everything after it, are characters.
std::vector<KeyToken> ReadKeyText(std::string_view text);
// The text that reads back as the tokens: keys and modifiers by name, ";" and "{" by name, other
// characters as they stand; control characters, PressAgain and Nothing are left out.
std::string WriteKeyText(const std::vector<KeyToken>& tokens);
// The names the key chooser offers, each in braces: keys and modifiers, not characters.
std::vector<std::string> ChooserKeyNames();
