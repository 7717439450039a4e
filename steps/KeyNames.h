// The key names a Keyboard step's text writes between "{" and "}" for a key that is pressed and
// released: the player presses them, a recording writes them. Where two names give one key
// (ENTER and RETURN), the first is the one a recording writes.
#pragma once

#include <cstdint>
#include <string_view>

struct NamedKey {
    std::string_view name;
    uint8_t key;  // virtual-key code
};

inline constexpr NamedKey NamedKeys[] = {
    {"BACKSPACE", 0x08}, {"DELETE", 0x2E},   {"DOWN", 0x28},   {"END", 0x23},
    {"ENTER", 0x0D},     {"F1", 0x70},       {"F2", 0x71},     {"F3", 0x72},
    {"F4", 0x73},        {"F5", 0x74},       {"F6", 0x75},     {"F7", 0x76},
    {"F8", 0x77},        {"F9", 0x78},       {"F10", 0x79},    {"F11", 0x7A},
    {"F12", 0x7B},       {"ESCAPE", 0x1B},   {"HOME", 0x24},   {"INSERT", 0x2D},
    {"LEFT", 0x25},      {"PAGEDOWN", 0x22}, {"PAGEUP", 0x21}, {"PRINTSCREEN", 0x2C},
    {"RETURN", 0x0D},    {"RIGHT", 0x27},    {"TAB", 0x09},    {"UP", 0x26},
};
