// Pointer, synthesised input, keyboard layouts and the Escape watch.

#include "platform/input.h"

#include <array>
#include <functional>
#include <initializer_list>

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

// A letter's virtual key is the letter on every layout (the German Y key is VK_Y, at the place
// of the US Z key: its scan code tells the place).
template <size_t N>
constexpr std::array<int16_t, 256> BuildTable(const KeyOf (&keys)[N]) {
    std::array<int16_t, 256> table{};
    table.fill(kNone);
    for (int c = 'a'; c <= 'z'; ++c) {
        const int key = c - 'a' + 'A';
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

constexpr std::array<int16_t, 256> kUsTable = BuildTable(kUsKeys);
constexpr std::array<int16_t, 256> kGermanTable = BuildTable(kGermanKeys);

// Scan codes (PC/AT set 1) of the virtual keys, as MapVirtualKeyExA gives them on a US keyboard
// with MAPVK_VK_TO_VSC_EX: 0xE0 in the high byte for an extended key.
constexpr std::array<uint16_t, 256> BuildScanCodes(bool german) {
    std::array<uint16_t, 256> codes{};
    const char* rows[] = {"1234567890", "QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
    const uint8_t firsts[] = {0x02, 0x10, 0x1E, 0x2C};
    for (int row = 0; row < 4; ++row) {
        for (int at = 0; rows[row][at] != '\0'; ++at) {
            codes[static_cast<unsigned char>(rows[row][at])] =
                static_cast<uint8_t>(firsts[row] + at);
        }
    }
    for (int f = 0; f < 10; ++f) {
        codes[0x70 + f] = static_cast<uint8_t>(0x3B + f);  // F1 to F10
    }
    constexpr uint16_t kExtended = 0xE000;
    const uint16_t pairs[][2] = {{0x08, 0x0E},
                                 {0x09, 0x0F},
                                 {0x0D, 0x1C},
                                 {0x10, 0x2A},
                                 {0x11, 0x1D},
                                 {0x12, 0x38},
                                 {0x1B, 0x01},
                                 {0x20, 0x39},
                                 {0x21, kExtended | 0x49},
                                 {0x22, kExtended | 0x51},
                                 {0x23, kExtended | 0x4F},
                                 {0x24, kExtended | 0x47},
                                 {0x25, kExtended | 0x4B},
                                 {0x26, kExtended | 0x48},
                                 {0x27, kExtended | 0x4D},
                                 {0x28, kExtended | 0x50},
                                 {0x2C, kExtended | 0x37},
                                 {0x2D, kExtended | 0x52},
                                 {0x2E, kExtended | 0x53},
                                 {0x6F, kExtended | 0x35},  // the keypad's slash
                                 {0xA3, kExtended | 0x1D},  // right Control
                                 {0xA5, kExtended | 0x38},  // right Alt
                                 {0x7A, 0x57},
                                 {0x7B, 0x58},
                                 {0xBA, 0x27},
                                 {0xBB, 0x0D},
                                 {0xBC, 0x33},
                                 {0xBD, 0x0C},
                                 {0xBE, 0x34},
                                 {0xBF, 0x35},
                                 {0xC0, 0x29},
                                 {0xDB, 0x1A},
                                 {0xDC, 0x2B},
                                 {0xDD, 0x1B},
                                 {0xDE, 0x28},
                                 {0xE2, 0x56}};
    for (const auto& pair : pairs) {
        codes[pair[0]] = pair[1];
    }
    if (german) {
        // QWERTZ: Y and Z change places, and the keys beside the letters carry other keys.
        const uint16_t germanPairs[][2] = {{'Y', 0x2C},  {'Z', 0x15},  {0xBA, 0x1A}, {0xBB, 0x1B},
                                           {0xBD, 0x35}, {0xBF, 0x2B}, {0xC0, 0x27}, {0xDB, 0x0C},
                                           {0xDC, 0x29}, {0xDD, 0x0D}};
        for (const auto& pair : germanPairs) {
            codes[pair[0]] = pair[1];
        }
    }
    return codes;
}

constexpr std::array<uint16_t, 256> kUsScanCodes = BuildScanCodes(false);
constexpr std::array<uint16_t, 256> kGermanScanCodes = BuildScanCodes(true);

// The German layout's dead keys: ^ (its own key), and the accent key with ´ and, shifted, `.
constexpr int16_t kGermanDeadKeys[] = {0xDC, 0xDD, kShift | 0xDD};

bool IsGerman(platform::KeyboardLayout layout) {
    return layout == static_cast<platform::KeyboardLayout>(headless::KeyboardLayout::German);
}

// Windows-1252 bytes 0x80 to 0x9F; the five the code page leaves undefined map to themselves.
constexpr uint16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Logs the events, then runs the input watch's action once the log has reached its length.
void Log(std::initializer_list<InputEvent> events) {
    std::function<void()> due;
    {
        const auto lock = Lock();
        Shared().inputLog.insert(Shared().inputLog.end(), events.begin(), events.end());
        auto& watch = Shared().inputWatch;
        if (watch.action && Shared().inputLog.size() >= watch.count) {
            due.swap(watch.action);
        }
    }
    if (due) {
        due();
    }
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
    Log({InputEvent{.kind = InputKind::Mouse, .flags = flags}});
}

void SendKeyEvent(uint8_t key, uint8_t scanCode, bool extended, bool up) {
    Log({InputEvent{
        .kind = InputKind::Key, .key = key, .up = up, .scanCode = scanCode, .extended = extended}});
}

platform::KeyboardLayout ForegroundKeyboardLayout() {
    const auto lock = Lock();
    return static_cast<KeyboardLayout>(Shared().layout);
}

uint16_t ScanCode(uint8_t key, KeyboardLayout layout) {
    return (IsGerman(layout) ? kGermanScanCodes : kUsScanCodes)[key];
}

void SendUnicodeCharacter(uint16_t codePoint) {
    Log({InputEvent{.kind = InputKind::Unicode, .up = false, .codePoint = codePoint},
         InputEvent{.kind = InputKind::Unicode, .up = true, .codePoint = codePoint}});
}

int16_t KeyScan(char c, KeyboardLayout layout) {
    return (IsGerman(layout) ? kGermanTable : kUsTable)[static_cast<unsigned char>(c)];
}

bool IsDeadKey(int16_t code, KeyboardLayout layout) {
    if (!IsGerman(layout)) {
        return false;
    }
    for (int16_t dead : kGermanDeadKeys) {
        if (dead == code) {
            return true;
        }
    }
    return false;
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

uint64_t SynthesisedKeysPassed() {
    const auto lock = Lock();
    return Shared().inputLog.size();
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

void AfterInputEvents(size_t count, std::function<void()> action) {
    const auto lock = Lock();
    Shared().inputWatch = {count, std::move(action)};
}

void SetKeyboardLayout(KeyboardLayout layout) {
    const auto lock = Lock();
    Shared().layout = layout;
}

}  // namespace headless
