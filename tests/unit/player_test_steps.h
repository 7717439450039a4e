// Step records and run helpers shared by the player's tests: build a list, start it with the
// Play command as a user would, play it on the test thread in virtual time, and watch what the
// main window showed while it ran.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "editor/EditorPanel.h"
#include "platform/headless/headless.h"
#include "platform/window.h"
#include "player/Player.h"
#include "player/PlayerInternal.h"
#include "steps/RList.h"
#include "steps/StepRecord.h"
#include "tests/unit/support/Fixture.h"

namespace steps {

inline StepRecord Mouse(const std::string& click, int x, int y) {
    StepRecord step;
    step.RECORDtype = TypeMouse;
    step.MouseClick = click;
    step.MouseX = x;
    step.MouseY = y;
    return step;
}

// A left click at (x, 0): the x coordinate tells the steps apart in the input log.
inline StepRecord Marker(int x) {
    return Mouse("L_Click", x, 0);
}

inline StepRecord Keys(const std::string& keyType, const std::string& text) {
    StepRecord step;
    step.RECORDtype = TypeKeyboard;
    step.KeyType = keyType;
    (keyType == "String" ? step.KeyString : step.KeyName) = text;
    return step;
}

inline StepRecord Delay(float seconds) {
    StepRecord step;
    step.RECORDtype = TypeDelay;
    step.DelayTime = seconds;
    return step;
}

inline StepRecord Loop(int32_t from, int32_t count) {
    StepRecord step;
    step.RECORDtype = TypeLoop;
    step.LoopFrom = from;
    step.LoopCount = count;
    return step;
}

inline StepRecord Com(const std::string& port, const std::string& type, const std::string& value) {
    StepRecord step;
    step.RECORDtype = TypeComport;
    step.ComPort = port;
    step.ComType = type;
    step.ComValue = value;
    return step;
}

inline StepRecord Jump(int32_t to) {
    StepRecord step;
    step.RECORDtype = TypeJump;
    step.JumpTo = to;
    return step;
}

inline StepRecord State(const std::string& text) {
    StepRecord step;
    step.RECORDtype = TypeState;
    step.StateText = text;
    return step;
}

inline StepRecord Execute(const std::string& path) {
    StepRecord step;
    step.RECORDtype = TypeExecute;
    step.ExecFile = path;
    return step;
}

inline StepRecord Message(const std::string& text) {
    StepRecord step;
    step.RECORDtype = TypeMessage;
    step.MessageText = text;
    return step;
}

inline StepRecord Wait(const std::string& waitFor, const std::string& value, float seconds,
                       int32_t elseStep = 0) {
    StepRecord step;
    step.RECORDtype = TypeWait;
    step.WaitFor = waitFor;
    step.WaitValue = value;
    step.WaitTime = seconds;
    step.WaitElse = elseStep;
    return step;
}

inline StepRecord Image(const std::string& action, const std::string& value, int32_t x = 0,
                        int32_t y = 0) {
    StepRecord step;
    step.RECORDtype = TypeImage;
    step.ImageDo = action;
    step.ImageValue = value;
    step.ImageX = x;
    step.ImageY = y;
    return step;
}

inline StepRecord OfType(int32_t type) {
    StepRecord step;
    step.RECORDtype = type;
    return step;
}

}  // namespace steps

class PlayerTest : public QuorvaneTest {
protected:
    // Fills RList and shows step `shown` (0-based) in the editor panel.
    void Load(const std::vector<StepRecord>& list, int shown = 0) {
        RList.Clear();
        for (const StepRecord& step : list) {
            RList.AddAfterCurrent() = step;
        }
        RList.Select(shown);
        GetValues();
        loaded_ = list;
    }

    // Puts back what the Play command's SaveActualRecord stored from the panel, so that a test
    // list can hold values the panel cannot show (a LoopFrom of 0, an unknown type).
    void Restore() {
        for (size_t i = 0; i < loaded_.size(); ++i) {
            RList.At(static_cast<int>(i)) = loaded_[i];
        }
    }

    // Loads the list and presses Play; the run is then played by PlayRun(). The panel shows a
    // State step while Play stores it, so that any first step can be tested.
    void Start(const std::vector<StepRecord>& list) {
        Load(list);
        RList.At(0) = steps::State("shown");
        GetValues();
        PlaySteps(0);
        ASSERT_EQ(PlayRunning, 1) << "the editor panel refused the shown step";
        Restore();
    }

    // Starts and plays a whole run on the test thread.
    void Play(const std::vector<StepRecord>& list) {
        Start(list);
        PlayRun();
    }

    // The x coordinates of the pointer moves, one per Mouse step played.
    static std::vector<int> PointerMoves() {
        std::vector<int> moves;
        for (const auto& event : headless::InputLog()) {
            if (event.kind == headless::InputKind::CursorMove) {
                moves.push_back(event.x);
            }
        }
        return moves;
    }

    // Samples the control's text every `periodMs` of virtual time up to `untilMs` and keeps
    // each text that differs from the one before: the texts the user saw, in order.
    static std::shared_ptr<std::vector<std::string>> WatchText(int control, int64_t untilMs,
                                                               int64_t periodMs = 10) {
        auto seen = std::make_shared<std::vector<std::string>>();
        for (int64_t at = 0; at <= untilMs; at += periodMs) {
            headless::ScheduleAt(at * kMs, [seen, control] {
                const std::string text = platform::ControlText(control);
                if (seen->empty() || seen->back() != text) {
                    seen->push_back(text);
                }
            });
        }
        return seen;
    }

    // Chooses Play `ms` of virtual time from now.
    static void PressPlayIn(int64_t ms) {
        headless::ScheduleAt(headless::VirtualMicroseconds() + ms * kMs, [] { PlaySteps(0); });
    }

    // Chooses Play again `ms` after each box shows.
    static void PressPlayAfterEachBox(int64_t ms) {
        headless::OnBoxShown([ms](const headless::ShownBox&) { PressPlayIn(ms); });
    }

    // A chatty device on COM1: 20000 bytes each second from 1 s to 9 s, far more than the
    // driver's queue holds, then "READY" at 9.5 s.
    static void ChattyCom1() {
        for (int second = 1; second <= 9; ++second) {
            headless::ScheduleAt(second * 1000 * kMs,
                                 [] { headless::DeviceSends("COM1", std::string(20000, '.')); });
        }
        headless::ScheduleAt(9500 * kMs, [] { headless::DeviceSends("COM1", "READY"); });
    }

private:
    std::vector<StepRecord> loaded_;
};
