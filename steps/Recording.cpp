// From a timed list of the user's input events to steps.

#include "steps/Recording.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "steps/KeyText.h"
#include "steps/Numbers.h"
#include "steps/StepKinds.h"

namespace {

constexpr uint8_t kEscape = 0x1B;
// The player waits this long after every Mouse and Keyboard step; a recorded pause is the rest.
constexpr int64_t kStepIntervalMs = 200;
constexpr int64_t kShortestDelayMs = 500;

// The tokens around `tokens` that hold a modifier while they are typed.
void Wrap(std::vector<KeyToken>& tokens, bool held, uint8_t modifier) {
    if (held) {
        tokens.insert(tokens.begin(), KeyToken{KeyTokenKind::ModifierDown, 0, modifier});
        tokens.push_back(KeyToken{KeyTokenKind::ModifierUp, 0, modifier});
    }
}

// The text of a step that presses the same keys: a named key by its name, a character as
// itself (or by name where it cannot stand in a step's text). "" for a key that gives neither.
std::string KeyText(const InputAction& action) {
    std::vector<KeyToken> tokens;
    // Escape ends a recording and never comes here.
    const KeyToken named{KeyTokenKind::Key, 0, action.key};
    if (!WriteKeyText({named}).empty()) {
        tokens.push_back(named);
        // A character carries its own Shift; a named key needs it written.
        Wrap(tokens, action.shift, kShiftKey);
    } else {
        for (char c : action.text) {
            tokens.push_back(KeyToken{KeyTokenKind::Character, c, 0});
        }
    }
    if (WriteKeyText(tokens).empty()) {
        return {};
    }
    Wrap(tokens, action.alt, kAltKey);
    Wrap(tokens, action.control, kControlKey);
    return WriteKeyText(tokens);
}

bool Within(int from, int to, int size) {
    return std::abs(to - from) <= size / 2;
}

struct ButtonDown {
    int x = 0;
    int y = 0;
    int64_t timeMs = 0;
    bool onOwnWindow = false;
    std::string windowTitle;  // up to its first ";", which a step file cannot hold
    int windowX = 0;
    int windowY = 0;
};

// A left click that the next one may turn into a double click.
struct LastClick {
    int x = 0;
    int y = 0;
    int64_t timeMs = 0;
};

// What one pass over the input keeps.
struct Pass {
    ClickRules rules;
    bool inWindows = false;
    Recording recording;
    std::optional<ButtonDown> downs[3];  // by InputButton
    std::optional<LastClick> lastClick;
    std::optional<int64_t> lastActionMs;
    bool typing = false;  // the last step is the Keyboard step that takes the next key
};

// A pause since the action before becomes a Delay step when it is long enough, or when the
// replay needs at least `leastMs` between the two; it also ends the text being typed.
void StartAction(Pass& pass, int64_t timeMs, int64_t leastMs = 0) {
    if (pass.lastActionMs) {
        const int64_t pauseMs = timeMs - *pass.lastActionMs - kStepIntervalMs;
        const int64_t tenths = std::max<int64_t>(
            pauseMs >= kShortestDelayMs ? (pauseMs + 50) / 100 : 0, (leastMs + 99) / 100);
        if (tenths > 0) {
            StepRecord delay;
            delay.RECORDtype = TypeDelay;
            delay.DelayTime = static_cast<float>(tenths) / 10.0f;
            pass.recording.steps.push_back(delay);
            pass.typing = false;
        }
    }
    pass.lastActionMs = timeMs;
}

// The press lies within the double-click rectangle of the single left click before it.
bool NearLastClick(const Pass& pass, const ButtonDown& down) {
    const ClickRules& rules = pass.rules;
    return pass.lastClick && Within(pass.lastClick->x, down.x, rules.doubleClickWidth) &&
           Within(pass.lastClick->y, down.y, rules.doubleClickHeight);
}

bool IsDoubleClick(const Pass& pass, const ButtonDown& down) {
    return NearLastClick(pass, down) &&
           down.timeMs - pass.lastClick->timeMs < pass.rules.doubleClickMs;
}

// A click at the screen point, or, recording in windows, in the titled window under it: a drag
// stays a click at the screen point, as its window may have moved under the pointer.
StepRecord ClickStep(const Pass& pass, const ButtonDown& down, const char* click, bool drag) {
    StepRecord step;
    if (pass.inWindows && !drag && !down.windowTitle.empty()) {
        step.RECORDtype = TypeWindow;
        step.WindowDo = click;
        step.WindowTitle = down.windowTitle;
        step.WindowX = down.windowX;
        step.WindowY = down.windowY;
        return step;
    }
    step.RECORDtype = TypeMouse;
    step.MouseClick = click;
    step.MouseX = down.x;
    step.MouseY = down.y;
    return step;
}

// A button released: with its press, a click (or a drag, recorded as a click) where it went down.
void TakeButtonUp(Pass& pass, const InputAction& up) {
    std::optional<ButtonDown>& pending = pass.downs[static_cast<size_t>(up.button)];
    if (!pending) {
        return;
    }
    const ButtonDown down = *pending;
    pending.reset();
    if (down.onOwnWindow) {
        return;
    }
    const bool drag =
        !Within(down.x, up.x, pass.rules.dragWidth) || !Within(down.y, up.y, pass.rules.dragHeight);
    pass.recording.dragsAsClicks += drag ? 1 : 0;
    pass.typing = false;
    const bool leftClick = up.button == InputButton::Left && !drag;
    if (leftClick && IsDoubleClick(pass, down)) {
        // The click before is the last step: both become one double click.
        StepRecord& before = pass.recording.steps.back();
        (before.RECORDtype == TypeWindow ? before.WindowDo : before.MouseClick) =
            ClickKindName(ClickKind::LeftDouble);
        pass.lastClick.reset();
        pass.lastActionMs = down.timeMs;
        return;
    }
    // A left click near a single click stays a click of its own on replay: the player waits the
    // step interval after the first, and a Delay makes up the rest of more than the double-click
    // time (a second click within it, or just at its end, makes a double click).
    const bool nearClick = up.button == InputButton::Left && NearLastClick(pass, down);
    StartAction(pass, down.timeMs, nearClick ? pass.rules.doubleClickMs - kStepIntervalMs + 1 : 0);
    const char* click = ClickKindName(up.button == InputButton::Left    ? ClickKind::Left
                                      : up.button == InputButton::Right ? ClickKind::Right
                                                                        : ClickKind::Middle);
    pass.recording.steps.push_back(ClickStep(pass, down, click, drag));
    pass.lastClick.reset();
    if (leftClick) {
        pass.lastClick = LastClick{down.x, down.y, down.timeMs};
    }
}

void TakeKeyDown(Pass& pass, const InputAction& action) {
    pass.recording.charactersLeftOut += action.lostCharacter && !action.onOwnWindow ? 1 : 0;
    const std::string text = KeyText(action);
    if (action.onOwnWindow || text.empty()) {
        return;
    }
    pass.lastClick.reset();
    StartAction(pass, action.timeMs);
    if (!pass.typing) {
        StepRecord step;
        step.RECORDtype = TypeKeyboard;
        step.KeyType = "String";
        pass.recording.steps.push_back(step);
        pass.typing = true;
    }
    pass.recording.steps.back().KeyString += text;
}

void Take(Pass& pass, const InputAction& action) {
    switch (action.kind) {
        case InputKind::ButtonDown:
            pass.downs[static_cast<size_t>(action.button)] =
                ButtonDown{action.x,
                           action.y,
                           action.timeMs,
                           action.onOwnWindow,
                           action.windowTitle.substr(0, action.windowTitle.find(';')),
                           action.windowX,
                           action.windowY};
            break;
        case InputKind::ButtonUp:
            TakeButtonUp(pass, action);
            break;
        case InputKind::Wheel:
            pass.recording.wheelTurns += action.onOwnWindow ? 0 : 1;
            break;
        case InputKind::KeyDown:
            TakeKeyDown(pass, action);
            break;
        case InputKind::KeyUp:
            break;
    }
}

std::string Counted(int count, std::string_view one, std::string_view many) {
    return IntegerText(count) + " " + std::string(count == 1 ? one : many);
}

}  // namespace

bool EndsRecording(const InputAction& action) {
    return action.kind == InputKind::KeyDown && action.key == kEscape;
}

Recording StepsFromInput(const std::vector<InputAction>& input, const ClickRules& rules,
                         bool inWindows) {
    Pass pass;
    pass.rules = rules;
    pass.inWindows = inWindows;
    for (const InputAction& action : input) {
        if (EndsRecording(action)) {
            break;
        }
        Take(pass, action);
    }
    return pass.recording;
}

std::string RecordingNotice(const Recording& recording) {
    if (recording.steps.empty()) {
        return "Nothing recorded";
    }
    std::string notice =
        "Recorded " + Counted(static_cast<int>(recording.steps.size()), "step", "steps");
    if (recording.dragsAsClicks > 0) {
        notice += "; " + Counted(recording.dragsAsClicks, "drag recorded as a click",
                                 "drags recorded as clicks");
    }
    if (recording.wheelTurns > 0) {
        notice += "; " + Counted(recording.wheelTurns, "wheel turn not recorded",
                                 "wheel turns not recorded");
    }
    if (recording.charactersLeftOut > 0) {
        notice += "; " + Counted(recording.charactersLeftOut,
                                 "character a step file cannot hold was left out",
                                 "characters a step file cannot hold were left out");
    }
    return notice;
}
