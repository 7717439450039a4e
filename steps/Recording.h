// Turning what the user did into steps: clicks into Mouse steps (or Window steps), typed characters
// and keys into Keyboard steps, long pauses into Delay steps. Plain code over a timed list of input
// events; the hooks that collect them are platform/recorder.h.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "steps/StepRecord.h"

enum class InputKind { ButtonDown, ButtonUp, Wheel, KeyDown, KeyUp };
enum class InputButton { Left, Right, Middle };

// One event of the user's mouse or keyboard, in the order it happened.
struct InputAction {
    InputKind kind = InputKind::KeyDown;
    int64_t timeMs = 0;
    bool onOwnWindow = false;  // aimed at one of Quorvane's own windows
    int x = 0;                 // logical screen point of a button or wheel event
    int y = 0;
    InputButton button = InputButton::Left;
    // A button or wheel event: the top-level window under the pointer as it happened, its title
    // ("" where there is none) and the point in its client area.
    std::string windowTitle;
    int windowX = 0;
    int windowY = 0;
    uint8_t key = 0;  // virtual key of a key event
    // KeyDown: what the key types on the keyboard layout with the Shift and AltGr state of that
    // moment, without Control and Alt; "" when it types nothing. A key after a dead key carries
    // what the two type together ("ê" after "^", "^" for a blank after it); the dead key itself
    // types nothing.
    std::string text;
    // KeyDown: it typed a character that the ANSI code page, and so a step file, cannot hold.
    bool lostCharacter = false;
    bool shift = false;    // KeyDown: the modifiers held with the key (AltGr counts as neither
    bool control = false;  // Control nor Alt when it gave the text)
    bool alt = false;
};

// The system's rules that tell a click from a drag and two clicks from a double click: the
// rectangles are centred where the (first) button went down.
struct ClickRules {
    int dragWidth = 4;
    int dragHeight = 4;
    int doubleClickMs = 500;
    int doubleClickWidth = 4;
    int doubleClickHeight = 4;
};

struct Recording {
    std::vector<StepRecord> steps;
    int dragsAsClicks = 0;      // drags, each recorded as a click where the button went down
    int wheelTurns = 0;         // wheel turns, never recorded
    int charactersLeftOut = 0;  // typed characters a step file cannot hold
};

// The Escape key pressed: it ends a recording and is not recorded itself.
bool EndsRecording(const InputAction& action);
// The steps the input makes, in order, up to the first Escape press. `inWindows`: a click on a
// titled window of another program becomes a Window step at its point in that window, so that it
// finds the window wherever it has gone; drags, wheel turns and keys are recorded alike.
Recording StepsFromInput(const std::vector<InputAction>& input, const ClickRules& rules,
                         bool inWindows = false);
// "Recorded 3 steps", with "; 2 drags recorded as clicks", "; 1 wheel turn not recorded" and
// "; 2 characters a step file cannot hold were left out" when there were any, or
// "Nothing recorded".
std::string RecordingNotice(const Recording& recording);
