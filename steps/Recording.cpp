// From a timed list of the user's input events to steps.

#include "steps/Recording.h"

#include <cstdlib>
#include <optional>
#include <string_view>

#include "steps/KeyNames.h"
#include "steps/Numbers.h"

namespace {

constexpr uint8_t kEscape = 0x1B;
// The player waits this long after every Mouse and Keyboard step; a recorded pause is the rest.
constexpr int64_t kStepIntervalMs = 200;
constexpr int64_t kShortestDelayMs = 500;

std::string Wrapped(const std::string& text, bool held, std::string_view modifier) {
    if (!held) {
        return text;
    }
    const std::string name(modifier);
    return "{" + name + "DOWN}" + text + "{" + name + "UP}";
}

// The text of a step that presses the same keys: a named key by its name, a character as
// itself, or by name where it cannot stand in a step's text. "" for a key that gives neither.
std::string KeyText(const InputAction& action) {
    std::string text;
    // Escape ends a recording and never comes here; the first name of a key is the one written.
    for (const NamedKey& named : NamedKeys) {
        if (named.key == action.key) {
            // A character carries its own Shift; a named key needs it written.
            text = Wrapped("{" + std::string(named.name) + "}", action.shift, "SHIFT");
            break;
        }
    }
    if (text.empty()) {
        for (char c : action.text) {
            if (c == ';') {
                text += "{SEMICOLON}";
            } else if (c == '{') {
                text += "{LEFTBRACE}";
            } else if (static_cast<unsigned char>(c) >= 0x20) {
                text += c;
            }
        }
    }
    if (text.empty()) {
        return text;
    }
    return Wrapped(Wrapped(text, action.alt, "ALT"), action.control, "CONTROL");
}

bool Within(int from, int to, int size) {
    return std::abs(to - from) <= size / 2;
}

struct ButtonDown {
    int x = 0;
    int y = 0;
    int64_t timeMs = 0;
    bool onOwnWindow = false;
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
    Recording recording;
    std::optional<ButtonDown> downs[3];  // by InputButton
    std::optional<LastClick> lastClick;
    std::optional<int64_t> lastActionMs;
    bool typing = false;  // the last step is the Keyboard step that takes the next key
};

// A pause since the action before becomes a Delay step when it is long enough; it also ends the
// text being typed.
void StartAction(Pass& pass, int64_t timeMs) {
    if (pass.lastActionMs) {
        const int64_t pauseMs = timeMs - *pass.lastActionMs - kStepIntervalMs;
        if (pauseMs >= kShortestDelayMs) {
            StepRecord delay;
            delay.RECORDtype = TypeDelay;
            delay.DelayTime = static_cast<float>((pauseMs + 50) / 100) / 10.0f;
            pass.recording.steps.push_back(delay);
            pass.typing = false;
        }
    }
    pass.lastActionMs = timeMs;
}

bool IsDoubleClick(const Pass& pass, const ButtonDown& down) {
    const ClickRules& rules = pass.rules;
    return pass.lastClick && down.timeMs - pass.lastClick->timeMs < rules.doubleClickMs &&
           Within(pass.lastClick->x, down.x, rules.doubleClickWidth) &&
           Within(pass.lastClick->y, down.y, rules.doubleClickHeight);
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
        pass.recording.steps.back().MouseClick = "Ldbl_Click";
        pass.lastClick.reset();
        pass.lastActionMs = down.timeMs;
        return;
    }
    StartAction(pass, down.timeMs);
    StepRecord step;
    step.RECORDtype = TypeMouse;
    step.MouseClick = up.button == InputButton::Left    ? "L_Click"
                      : up.button == InputButton::Right ? "R_Click"
                                                        : "M_Click";
    step.MouseX = down.x;
    step.MouseY = down.y;
    pass.recording.steps.push_back(step);
    pass.lastClick.reset();
    if (leftClick) {
        pass.lastClick = LastClick{down.x, down.y, down.timeMs};
    }
}

void TakeKeyDown(Pass& pass, const InputAction& action) {
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
                ButtonDown{action.x, action.y, action.timeMs, action.onOwnWindow};
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

Recording StepsFromInput(const std::vector<InputAction>& input, const ClickRules& rules) {
    Pass pass;
    pass.rules = rules;
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
    return notice;
}
