// Mouse and Keyboard steps: the exact events each click kind and each typed text sends.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/headless/headless.h"
#include "player/Player.h"
#include "tests/unit/player_test_steps.h"

namespace {

using headless::InputEvent;
using headless::InputKind;
using namespace steps;

InputEvent Down(uint8_t key) {
    return {.kind = InputKind::Key, .key = key, .up = false};
}
InputEvent Up(uint8_t key) {
    return {.kind = InputKind::Key, .key = key, .up = true};
}
InputEvent MouseFlags(uint32_t flags) {
    return {.kind = InputKind::Mouse, .flags = flags};
}
InputEvent MoveTo(int x, int y) {
    return {.kind = InputKind::CursorMove, .x = x, .y = y};
}
std::vector<InputEvent> Unicode(uint16_t codePoint) {
    return {{.kind = InputKind::Unicode, .up = false, .codePoint = codePoint},
            {.kind = InputKind::Unicode, .up = true, .codePoint = codePoint}};
}

constexpr uint8_t kShift = 0x10, kCtrl = 0x11, kAlt = 0x12;

std::vector<InputEvent> Join(std::initializer_list<std::vector<InputEvent>> parts) {
    std::vector<InputEvent> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

std::vector<InputEvent> Key(uint8_t key) {
    return {Down(key), Up(key)};
}
const std::vector<InputEvent> kReleases = {Up(kAlt), Up(kCtrl), Up(kShift)};

// The input sent, keys by their virtual key alone; the scan codes have a test of their own.
std::vector<InputEvent> KeyLog() {
    std::vector<InputEvent> events = headless::InputLog();
    for (InputEvent& event : events) {
        event.scanCode = 0;
        event.extended = false;
    }
    return events;
}

std::vector<InputEvent> Typed(const std::string& text) {
    headless::ClearInputLog();
    EXPECT_EQ(SendKeys(text), 1);
    return KeyLog();
}

class MouseStepTest : public PlayerTest {};

struct ClickCase {
    const char* click;
    std::vector<uint32_t> flags;
};

TEST_F(MouseStepTest, EachClickKindSendsItsEventsAtThePoint) {
    const ClickCase cases[] = {
        {"L_Click", {0x0002, 0x0004}},
        {"Ldbl_Click", {0x0002, 0x0004, 0x0002, 0x0004}},
        {"R_Click", {0x0008, 0x0010}},
        {"M_Click", {0x0020, 0x0040}},
        {"l_click", {}},
        {"", {}},
        {"L_Click ", {}},
    };
    for (const ClickCase& click : cases) {
        headless::Reset();
        SetUp();
        Play({Mouse(click.click, 100, 200)});
        std::vector<InputEvent> expected = {MoveTo(100, 200)};
        for (uint32_t flags : click.flags) {
            expected.push_back(MouseFlags(flags));
        }
        EXPECT_EQ(headless::InputLog(), expected) << click.click;
        EXPECT_EQ(NowMs(), 200) << click.click;
    }
}

class KeyboardStepTest : public PlayerTest {};

TEST_F(KeyboardStepTest, AKeyStepPressesItsNameAndReleasesTheModifiers) {
    Play({Keys("Key", "{F2}")});
    EXPECT_EQ(KeyLog(), Join({Key(0x71), kReleases}));
    EXPECT_EQ(NowMs(), 200);
}

TEST_F(KeyboardStepTest, AStringStepTypesItsText) {
    Play({Keys("String", "Ab")});
    EXPECT_EQ(KeyLog(), Join({{Down(kShift)}, Key(0x41), {Up(kShift)}, Key(0x42), kReleases}));
}

TEST_F(KeyboardStepTest, OnlyTheFieldChosenByTheKeyTypeIsTyped) {
    StepRecord step = Keys("Key", "{TAB}");
    step.KeyString = "x";
    Play({step});
    EXPECT_EQ(KeyLog(), Join({Key(0x09), kReleases}));
}

// Programs that read scan codes see the key that was meant: each key event carries the scan code
// of its key on the layout, and the keys Windows marks as extended carry that flag.
TEST_F(KeyboardStepTest, KeysCarryTheirScanCodesAndExtendedFlags) {
    using Down = std::pair<uint8_t, bool>;  // scan code, extended
    const struct {
        headless::KeyboardLayout layout;
        const char* text;
        std::vector<Down> downs;
    } rows[] = {
        {headless::KeyboardLayout::US, "a", {{0x1E, false}}},
        {headless::KeyboardLayout::US, "A", {{0x2A, false}, {0x1E, false}}},
        {headless::KeyboardLayout::US,
         "{LEFT}{F2}{DELETE}",
         {{0x4B, true}, {0x3C, false}, {0x53, true}}},
        {headless::KeyboardLayout::US,
         "{HOME}{END}{PAGEUP}{PAGEDOWN}{INSERT}{UP}{DOWN}{RIGHT}",
         {{0x47, true},
          {0x4F, true},
          {0x49, true},
          {0x51, true},
          {0x52, true},
          {0x48, true},
          {0x50, true},
          {0x4D, true}}},
        {headless::KeyboardLayout::US, "{ENTER}{CONTROLDOWN}", {{0x1C, false}, {0x1D, false}}},
        {headless::KeyboardLayout::US, "{PRINTSCREEN}", {{0x37, true}}},
        {headless::KeyboardLayout::German, "yz", {{0x2C, false}, {0x15, false}}},  // QWERTZ
    };
    for (const auto& row : rows) {
        headless::SetKeyboardLayout(row.layout);
        headless::ClearInputLog();
        SendKeys(row.text);
        std::vector<Down> downs;
        for (const InputEvent& event : headless::InputLog()) {
            if (event.kind == InputKind::Key && !event.up) {
                downs.emplace_back(event.scanCode, event.extended);
            }
        }
        EXPECT_EQ(downs, row.downs) << row.text;
    }
}

struct NamedKeyCase {
    const char* name;
    uint8_t key;
};

TEST_F(KeyboardStepTest, EveryKeyNameHasItsKey) {
    const NamedKeyCase cases[] = {
        {"BACKSPACE", 0x08}, {"DELETE", 0x2E},   {"DOWN", 0x28},   {"END", 0x23},
        {"ENTER", 0x0D},     {"ESCAPE", 0x1B},   {"HOME", 0x24},   {"INSERT", 0x2D},
        {"LEFT", 0x25},      {"PAGEDOWN", 0x22}, {"PAGEUP", 0x21}, {"PRINTSCREEN", 0x2C},
        {"RETURN", 0x0D},    {"RIGHT", 0x27},    {"TAB", 0x09},    {"UP", 0x26},
        {"F1", 0x70},        {"F5", 0x74},       {"F9", 0x78},     {"F10", 0x79},
        {"F11", 0x7A},       {"F12", 0x7B},
    };
    for (const NamedKeyCase& named : cases) {
        EXPECT_EQ(Typed(std::string("{") + named.name + "}"), Join({Key(named.key), kReleases}))
            << named.name;
    }
}

struct TypingCase {
    const char* text;
    std::vector<InputEvent> events;  // without the three releases at the end
};

TEST_F(KeyboardStepTest, TextsOnAUsLayout) {
    const TypingCase cases[] = {
        {"{SHIFTDOWN}abc{SHIFTUP}",
         Join({{Down(kShift)}, Key(0x41), Key(0x42), Key(0x43), {Up(kShift)}})},
        {"{SHIFTDOWN}AB{SHIFTUP}", Join({{Down(kShift)}, Key(0x41), Key(0x42), {Up(kShift)}})},
        {"{CONTROLDOWN}c{CONTROLUP}", Join({{Down(kCtrl)}, Key(0x43), {Up(kCtrl)}})},
        {"{ALTDOWN}{F4}{ALTUP}", Join({{Down(kAlt)}, Key(0x73), {Up(kAlt)}})},
        // The closing parenthesis is Shift+0 (0x130).
        {")", Join({{Down(kShift)}, Key(0x30), {Up(kShift)}})},
        {"a b", Join({Key(0x41), Key(0x20), Key(0x42)})},
        {"}", Join({{Down(kShift)}, Key(0xDD), {Up(kShift)}})},
        // An empty or unknown name presses the current key code again.
        {"x{}", Join({Key(0x58), Key(0x58)})},
        {"{F3}{NOSUCHKEY}", Join({Key(0x72), Key(0x72)})},
        {"{f3}", Key(0x00)},
        {"{}", Key(0x00)},
        // A name that starts like a modifier presses nothing.
        {"q{SHIFT}{ALTX}{CONTROL}", Key(0x51)},
        // An unclosed "{" and what follows it are plain characters.
        {"a{b", Join({Key(0x41), {Down(kShift)}, Key(0xDB), {Up(kShift)}, Key(0x42)})},
        {"{", Join({{Down(kShift)}, Key(0xDB), {Up(kShift)}})},
        {"{{x}", Key(0x00)},
        {"", {}},
        // The two characters that cannot stand in a text as themselves.
        {"a{SEMICOLON}{LEFTBRACE}{}",
         Join({Key(0x41), Key(0xBA), {Down(kShift)}, Key(0xDB), {Up(kShift)}, Key(0xDB)})},
    };
    for (const TypingCase& typing : cases) {
        EXPECT_EQ(Typed(typing.text), Join({typing.events, kReleases})) << typing.text;
    }
}

TEST_F(KeyboardStepTest, TextsOnAGermanLayoutGetCtrlAndAltForAltGrCharacters) {
    headless::SetKeyboardLayout(headless::KeyboardLayout::German);
    const TypingCase cases[] = {
        {"@", Join({{Down(kCtrl), Down(kAlt)}, Key(0x51), {Up(kAlt), Up(kCtrl)}})},
        {"z", Key(0x5A)},
        {")", Join({{Down(kShift)}, Key(0x39), {Up(kShift)}})},
        {"{SEMICOLON}{LEFTBRACE}", Join({{Down(kShift)},
                                         Key(0xBC),
                                         {Up(kShift)},
                                         {Down(kCtrl), Down(kAlt)},
                                         Key(0x37),
                                         {Up(kAlt), Up(kCtrl)}})},
        {"{SHIFTDOWN}|{SHIFTUP}", Join({{Down(kShift), Down(kCtrl), Down(kAlt)},
                                        Key(0xE2),
                                        {Up(kAlt), Up(kCtrl)},
                                        {Up(kShift)}})},
        // Ctrl and Alt held by name are not released by a character that needs them.
        {"{CONTROLDOWN}{ALTDOWN}@{ALTUP}{CONTROLUP}",
         Join({{Down(kCtrl), Down(kAlt)}, Key(0x51), {Up(kAlt), Up(kCtrl)}})},
        {"{CONTROLDOWN}@x", Join({{Down(kCtrl), Down(kAlt)}, Key(0x51), {Up(kAlt)}, Key(0x58)})},
        // The accents are dead keys here: typed as characters, they cannot change the next one.
        {"^e", Join({Unicode('^'), Key(0x45)})},
        {"\xB4`s", Join({Unicode(0xB4), Unicode('`'), Key(0x53)})},
    };
    for (const TypingCase& typing : cases) {
        EXPECT_EQ(Typed(typing.text), Join({typing.events, kReleases})) << typing.text;
    }
}

TEST_F(KeyboardStepTest, ACharacterTheLayoutCannotTypeIsSentAsUnicode) {
    // The euro sign (0x80 in the ANSI code page) is not on a US keyboard; the key after it is
    // pressed again by "{}", so the Unicode character leaves the current key code alone.
    EXPECT_EQ(Typed("a\x80{}"), Join({Key(0x41), Unicode(0x20AC), Key(0x41), kReleases}));
    EXPECT_EQ(Typed("\xE9"), Join({Unicode(0x00E9), kReleases}));
}

// Escape pressed while a long text is typed ends the run once the chunk under way is out, and
// leaves no key held.
TEST_F(KeyboardStepTest, EscapeEndsALongTextAfterItsChunkWithNothingHeld) {
    headless::AfterInputEvents(1000, headless::UserPressesEscape);
    Play({Keys("String", "{SHIFTDOWN}" + std::string(100000, 'a')), Marker(7)});
    const std::vector<InputEvent> log = KeyLog();
    constexpr size_t kChunkEvents = 2 * 25;
    EXPECT_LE(log.size(), 1000 + kChunkEvents + kReleases.size());
    ASSERT_GE(log.size(), kReleases.size());
    EXPECT_EQ(std::vector<InputEvent>(log.end() - 3, log.end()), kReleases);
    EXPECT_TRUE(PointerMoves().empty()) << "the run ended with the text";
}

// Pause holds a long text between two chunks with the text's Shift let go meanwhile; Play presses
// it again and types the rest.
TEST_F(KeyboardStepTest, PauseHoldsALongTextAndPlayTypesTheRest) {
    headless::AfterInputEvents(100, [] {
        PauseSteps(0);
        PressPlayIn(5000);
    });
    Play({Keys("String", "{SHIFTDOWN}" + std::string(300, 'a'))});
    const std::vector<InputEvent> log = KeyLog();
    const size_t shiftUps = static_cast<size_t>(std::count(log.begin(), log.end(), Up(kShift)));
    const size_t letters = static_cast<size_t>(std::count(log.begin(), log.end(), Down(0x41)));
    EXPECT_EQ(letters, 300u);
    EXPECT_EQ(shiftUps, 2u) << "let go for the pause, and at the end";
    EXPECT_GE(NowMs(), 5000);
}

TEST_F(KeyboardStepTest, ModifiersAreNeverCarriedIntoTheNextStep) {
    Play({Keys("Key", "{SHIFTDOWN}"), Keys("String", "a")});
    EXPECT_EQ(KeyLog(), Join({{Down(kShift)}, kReleases, Key(0x41), kReleases}));
}

}  // namespace
