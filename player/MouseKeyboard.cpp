// Mouse and Keyboard steps: clicks at a screen point, typed texts with key names.

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <string>

#include "platform/input.h"
#include "platform/system.h"
#include "player/Player.h"
#include "player/PlayerInternal.h"
#include "steps/KeyText.h"
#include "steps/StepKinds.h"

namespace {

// [SECTION] Mouse

constexpr uint32_t kLeftDown = 0x0002;
constexpr uint32_t kLeftUp = 0x0004;
constexpr uint32_t kRightDown = 0x0008;
constexpr uint32_t kRightUp = 0x0010;
constexpr uint32_t kMiddleDown = 0x0020;
constexpr uint32_t kMiddleUp = 0x0040;

// The buttons of each click kind, and how often they go down and up.
struct ClickButtons {
    ClickKind kind;
    uint32_t down;
    uint32_t up;
    int times;
};

constexpr ClickButtons kClickButtons[] = {
    {ClickKind::Left, kLeftDown, kLeftUp, 1},
    {ClickKind::LeftDouble, kLeftDown, kLeftUp, 2},
    {ClickKind::Right, kRightDown, kRightUp, 1},
    {ClickKind::Middle, kMiddleDown, kMiddleUp, 1},
};

// [SECTION] Keys

// A long text goes out in chunks of this many tokens; between them the run can stop or pause.
constexpr int kChunkTokens = 25;
// After a chunk the typist waits until the system has passed the chunk on, so that no more than
// one chunk is ever in flight when the run ends; never longer than this.
constexpr int64_t kLongestChunkWaitUs = 250 * 1000;
constexpr int64_t kPollUs = 1000;

// Modifier bits of the high byte of a KeyScan code, in the order they are pressed.
constexpr struct {
    int bit;
    uint8_t key;
} kModifiers[] = {{1, kShiftKey}, {2, kControlKey}, {4, kAltKey}};

uint32_t Bit(uint8_t modifier) {
    return 1u << (modifier - kShiftKey);
}

bool IsModifier(uint8_t key) {
    return key >= kShiftKey && key <= kAltKey;
}

// The modifiers the player holds down at this moment, for ReleasePlayerKeys on another thread.
std::atomic<uint32_t> gHeldDown{0};

// What one text remembers while it is typed.
struct Typing {
    platform::KeyboardLayout layout = 0;  // of the window in front when the text began
    uint8_t currentKey = 0;  // of the last named key or plain character: an unknown name's key
    // Modifiers held by name ("{SHIFTDOWN}"...): a character that needs one of them gets no
    // events of its own for it, so it does not release what the text holds.
    uint32_t heldByName = 0;
    uint64_t sent = 0;  // key events sent
    // What the layout answered for each character so far (KeyScan, and -1 as well for a dead
    // key): a long text asks once per character, not once per key.
    std::array<int16_t, 256> codes{};
    std::array<bool, 256> known{};
};

// The KeyScan code of the character, or -1 where it must go as Unicode input: not on the layout,
// or on a dead key that would change the next character ("^", "`").
int16_t CodeOf(char c, Typing& typing) {
    const auto byte = static_cast<unsigned char>(c);
    if (!typing.known[byte]) {
        const int16_t code = platform::KeyScan(c, typing.layout);
        typing.codes[byte] = platform::IsDeadKey(code, typing.layout) ? int16_t{-1} : code;
        typing.known[byte] = true;
    }
    return typing.codes[byte];
}

// Every key event carries the scan code of its key on the layout, and the extended flag the
// layout gives it, so that programs that read scan codes (remote desktops, consoles, games) see
// the key that was meant: an arrow, not the number-pad key of the same scan code.
void SendKey(Typing& typing, uint8_t key, bool up) {
    const uint16_t scan = platform::ScanCode(key, typing.layout);
    const uint16_t prefix = scan >> 8;
    platform::SendKeyEvent(key, static_cast<uint8_t>(scan & 0xFF), prefix == 0xE0 || prefix == 0xE1,
                           up);
    ++typing.sent;
    if (IsModifier(key)) {
        up ? gHeldDown &= ~Bit(key) : gHeldDown |= Bit(key);
    }
}

void Press(Typing& typing, uint8_t key) {
    SendKey(typing, key, false);
    SendKey(typing, key, true);
}

// Types a plain character with the modifiers its layout needs, pressed before the key and
// released after it in reverse order. Modifiers the text holds by name are left alone.
void TypeCharacter(char c, Typing& typing) {
    const int16_t code = CodeOf(c, typing);
    if (code == -1) {
        platform::SendUnicodeCharacter(platform::AnsiToCodePoint(c));
        typing.sent += 2;
        return;
    }
    typing.currentKey = static_cast<uint8_t>(code & 0xFF);
    const int state = (code >> 8) & 0xFF;
    uint8_t needed[3];
    int count = 0;
    for (const auto& modifier : kModifiers) {
        if ((state & modifier.bit) != 0 && (typing.heldByName & Bit(modifier.key)) == 0) {
            needed[count++] = modifier.key;
        }
    }
    for (int i = 0; i < count; ++i) {
        SendKey(typing, needed[i], false);
    }
    Press(typing, typing.currentKey);
    for (int i = count - 1; i >= 0; --i) {
        SendKey(typing, needed[i], true);
    }
}

void TypeToken(const KeyToken& token, Typing& typing) {
    switch (token.kind) {
        case KeyTokenKind::Character:
            TypeCharacter(token.character, typing);
            break;
        case KeyTokenKind::Key:
            typing.currentKey = token.key;
            Press(typing, token.key);
            break;
        case KeyTokenKind::ModifierDown:
        case KeyTokenKind::ModifierUp: {
            const bool up = token.kind == KeyTokenKind::ModifierUp;
            SendKey(typing, token.key, up);
            up ? typing.heldByName &= ~Bit(token.key) : typing.heldByName |= Bit(token.key);
            break;
        }
        case KeyTokenKind::PressAgain:
            Press(typing, typing.currentKey);
            break;
        case KeyTokenKind::Nothing:
            break;
    }
}

// Releases or presses again the modifiers the text holds by name (around a pause).
void SendHeldByName(Typing& typing, bool up) {
    for (const auto& modifier : kModifiers) {
        if ((typing.heldByName & Bit(modifier.key)) != 0) {
            SendKey(typing, modifier.key, up);
        }
    }
}

// Between two chunks: lets the system pass on what the text sent so far, holds while the run is
// paused (with the text's modifiers released meanwhile). False when the run ended.
bool BetweenChunks(Typing& typing, uint64_t passedBefore) {
    const int64_t deadline = platform::MonotonicMicroseconds() + kLongestChunkWaitUs;
    for (;;) {
        const uint64_t passed = platform::SynthesisedKeysPassed();
        const int64_t now = platform::MonotonicMicroseconds();
        if (passed == UINT64_MAX || passed - passedBefore >= typing.sent || now >= deadline ||
            !WaitUntil(std::min(now + kPollUs, deadline))) {
            break;
        }
    }
    CheckUserEscape();
    if (PlayRunning != 0 && PlayPaused == 1) {
        SendHeldByName(typing, true);
        PauseWait();
        if (PlayRunning != 0) {
            SendHeldByName(typing, false);
        }
    }
    return PlayRunning != 0;
}

}  // namespace

void Click(ClickKind kind) {
    const ClickButtons* buttons = RowWith(kClickButtons, &ClickButtons::kind, kind);
    if (buttons == nullptr) {
        return;
    }
    for (int time = 0; time < buttons->times; ++time) {
        platform::SendMouseEvent(buttons->down);
        platform::SendMouseEvent(buttons->up);
    }
}

// A click word that is none of the kinds moves the pointer only.
void PlayMouse(Run& run, const StepRecord& step) {
    platform::SetCursorPosition(step.MouseX, step.MouseY);
    Click(ReadClickKind(step.MouseClick));
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
    typing.layout = platform::ForegroundKeyboardLayout();
    // Outside a run (a benchmark) the text goes out whole.
    const bool inRun = PlayRunning != 0;
    const uint64_t passedBefore = platform::SynthesisedKeysPassed();
    int inChunk = 0;
    for (const KeyToken& token : ReadKeyText(text)) {
        TypeToken(token, typing);
        if (++inChunk < kChunkTokens) {
            continue;
        }
        inChunk = 0;
        if (inRun && !BetweenChunks(typing, passedBefore)) {
            break;
        }
    }
    // Whatever the text held, and however it ended.
    for (uint8_t modifier : {kAltKey, kControlKey, kShiftKey}) {
        SendKey(typing, modifier, true);
    }
    return 1;
}

void ReleasePlayerKeys() {
    const uint32_t held = gHeldDown.exchange(0);
    const platform::KeyboardLayout layout = platform::ForegroundKeyboardLayout();
    for (uint8_t modifier : {kAltKey, kControlKey, kShiftKey}) {
        if ((held & Bit(modifier)) != 0) {
            platform::SendKeyEvent(
                modifier, static_cast<uint8_t>(platform::ScanCode(modifier, layout)), false, true);
        }
    }
}
