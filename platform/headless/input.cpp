// [SECTION] Pointer, synthesised input, keyboard layouts and the Escape watch.

#include "platform/input.h"

#include <array>

#include "platform/headless/State.h"
#include "platform/system.h"

namespace {

using headless::InputEvent;
using headless::InputKind;
using headless_state::Lock;
using headless_state::Shared;

constexpr int16_t kShift = 0x100;
constexpr int16_t kCtrlAlt = 0x600;
constexpr int16_t kNone = -1;

struct KeyOf {
    unsigned char character;
    int16_t code;
};

// What VkKeyScanExA gives on a US keyboard for the characters that are not letters or digits.
constexpr KeyOf kUsKeys[] = {
    {' ', 0x20},         {'\t', 0x09},         {'\r', 0x0D},        {'\n', 0x20D},
    {')', kShift | '0'}, {'!', kShift | '1'},  {'@', kShift | '2'}, {'#', kShift | '3'},
    {'$', kShift | '4'}, {'%', kShift | '5'},  {'^', kShift | '6'}, {'&', kShift | '7'},
    {'*', kShift | '8'}, {'(', kShift | '9'},  {';', 0xBA},         {':', kShift | 0xBA},
    {'=', 0xBB},         {'+', kShift | 0xBB}, {',', 0xBC},         {'<', kShift | 0xBC},
    {'-', 0xBD},         {'_', kShift | 0xBD}, {'.', 0xBE},         {'>', kShift | 0xBE},
    {'/', 0xBF},         {'?', kShift | 0xBF}, {'`', 0xC0},         {'~', kShift | 0xC0},
    {'[', 0xDB},         {'{', kShift | 0xDB}, {'\\', 0xDC},        {'|', kShift | 0xDC},
    {']', 0xDD},         {'}', kShift | 0xDD}, {'\'', 0xDE},        {'"', kShift | 0xDE},
};

// The same on a German (QWERTZ) keyboard; the accented letters are Windows-1252 bytes.
constexpr KeyOf kGermanKeys[] = {
    {' ', 0x20},
    {'\t', 0x09},
    {'\r', 0x0D},
    {'\n', 0x20D},
    {'=', kShift | '0'},
    {'!', kShift | '1'},
    {'"', kShift | '2'},
    {0xA7, kShift | '3'},
    {'$', kShift | '4'},
    {'%', kShift | '5'},
    {'&', kShift | '6'},
    {'/', kShift | '7'},
    {'(', kShift | '8'},
    {')', kShift | '9'},
    {'}', kCtrlAlt | '0'},
    {0xB2, kCtrlAlt | '2'},
    {0xB3, kCtrlAlt | '3'},
    {'{', kCtrlAlt | '7'},
    {'[', kCtrlAlt | '8'},
    {']', kCtrlAlt | '9'},
    {'@', kCtrlAlt | 'Q'},
    {0x80, kCtrlAlt | 'E'},
    {0xB5, kCtrlAlt | 'M'},
    {0xDF, 0xDB},
    {'?', kShift | 0xDB},
    {'\\', kCtrlAlt | 0xDB},
    {0xB4, 0xDD},
    {'`', kShift | 0xDD},
    {'^', 0xDC},
    {0xB0, kShift | 0xDC},
    {0xFC, 0xBA},
    {0xDC, kShift | 0xBA},
    {'+', 0xBB},
    {'*', kShift | 0xBB},
    {'~', kCtrlAlt | 0xBB},
    {0xF6, 0xC0},
    {0xD6, kShift | 0xC0},
    {0xE4, 0xDE},
    {0xC4, kShift | 0xDE},
    {'#', 0xBF},
    {'\'', kShift | 0xBF},
    {',', 0xBC},
    {';', kShift | 0xBC},
    {'.', 0xBE},
    {':', kShift | 0xBE},
    {'-', 0xBD},
    {'_', kShift | 0xBD},
    {'<', 0xE2},
    {'>', kShift | 0xE2},
    {'|', kCtrlAlt | 0xE2},
};

template <size_t N>
constexpr std::array<int16_t, 256> BuildTable(const KeyOf (&keys)[N], bool swapYZ) {
    std::array<int16_t, 256> table{};
    table.fill(kNone);
    for (int c = 'a'; c <= 'z'; ++c) {
        int key = c - 'a' + 'A';
        if (swapYZ && (key == 'Y' || key == 'Z')) {
            key = key == 'Y' ? 'Z' : 'Y';
        }
        table[static_cast<size_t>(c)] = static_cast<int16_t>(key);
        table[static_cast<size_t>(c - 'a' + 'A')] = static_cast<int16_t>(kShift | key);
    }
    for (int c = '0'; c <= '9'; ++c) {
        table[static_cast<size_t>(c)] = static_cast<int16_t>(c);
    }
    for (const KeyOf& key : keys) {
        table[key.character] = key.code;
    }
    return table;
}

constexpr std::array<int16_t, 256> kUsTable = BuildTable(kUsKeys, false);
constexpr std::array<int16_t, 256> kGermanTable = BuildTable(kGermanKeys, true);

// Windows-1252 bytes 0x80 to 0x9F; the five the code page leaves undefined map to themselves.
constexpr uint16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void Log(const InputEvent& event) {
    const auto lock = Lock();
    Shared().inputLog.push_back(event);
}

}  // namespace

namespace platform {

void CursorPosition(int& x, int& y) {
    const auto lock = Lock();
    x = Shared().cursorX;
    y = Shared().cursorY;
}

void SetCursorPosition(int x, int y) {
    const auto lock = Lock();
    Shared().cursorX = x;
    Shared().cursorY = y;
    Shared().inputLog.push_back(InputEvent{.kind = InputKind::CursorMove, .x = x, .y = y});
}

void SendMouseEvent(uint32_t flags) {
    Log(InputEvent{.kind = InputKind::Mouse, .flags = flags});
}

void SendKeyEvent(uint8_t key, bool up) {
    Log(InputEvent{.kind = InputKind::Key, .key = key, .up = up});
}

void SendUnicodeCharacter(uint16_t codePoint) {
    const auto lock = Lock();
    for (bool up : {false, true}) {
        Shared().inputLog.push_back(
            InputEvent{.kind = InputKind::Unicode, .up = up, .codePoint = codePoint});
    }
}

int16_t KeyScan(char c) {
    const auto lock = Lock();
    const auto& table =
        Shared().layout == headless::KeyboardLayout::German ? kGermanTable : kUsTable;
    return table[static_cast<unsigned char>(c)];
}

uint16_t AnsiToCodePoint(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x80 && byte <= 0x9F ? kCp1252High[byte - 0x80] : byte;
}

void InstallEscapeWatch() {}

void ResetUserEscape() {
    const auto lock = Lock();
    Shared().userEscape = false;
}

bool UserEscapePressed() {
    const auto lock = Lock();
    return Shared().userEscape;
}

}  // namespace platform

namespace headless {

std::vector<InputEvent> InputLog() {
    const auto lock = Lock();
    return Shared().inputLog;
}

void ClearInputLog() {
    const auto lock = Lock();
    Shared().inputLog.clear();
}

void SetCursor(int x, int y) {
    const auto lock = Lock();
    Shared().cursorX = x;
    Shared().cursorY = y;
}

void UserPressesEscape() {
    {
        const auto lock = Lock();
        Shared().userEscape = true;
    }
    platform::WakeSleepers();
}

void SetKeyboardLayout(KeyboardLayout layout) {
    const auto lock = Lock();
    Shared().layout = layout;
}

}  // namespace headless
