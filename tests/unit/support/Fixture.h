// The common fixture of the unit tests: a fresh headless platform and a started main window.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/headless/headless.h"
#include "platform/pictures.h"
#include "platform/window.h"
#include "steps/StepRecord.h"

// Microseconds in a millisecond: the headless clock counts microseconds.
constexpr int64_t kMs = 1000;

// Where a control stands and what it shows when it is created.
struct Placement {
    int control;
    platform::ControlKind kind;
    int parent;
    int x, y, width, height;
    const char* text;
};

// A picture of two colours that a black headless screen shows nowhere: a frame of `frame` around
// a plain inside of `inside` (both 0xAARRGGBB).
inline platform::Picture Badge(int width = 8, int height = 6, uint32_t frame = 0xFF2040C0u,
                               uint32_t inside = 0xFFF0E0D0u) {
    platform::Picture badge{width, height, {}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool edge = x == 0 || y == 0 || x == width - 1 || y == height - 1;
            badge.pixels.push_back(edge ? frame : inside);
        }
    }
    return badge;
}

class QuorvaneTest : public ::testing::Test {
public:
    // Handles every event waiting (what other threads posted, the end of a run), as the event
    // loop does.
    static void HandlePendingEvents();

protected:
    // headless::Reset(), then StartUp() (main window, menus, editor panel; no threads).
    void SetUp() override;
    // Only the main thread drew: no window function was called from another thread.
    void TearDown() override;

    // Titles and texts of the boxes shown since the last call, "title: text" each.
    std::vector<std::string> TakeBoxes();

    // Fills RList with `steps`, makes step `shown` (0-based) current and shows it with the step
    // panel.
    void ShowSteps(const std::vector<StepRecord>& steps, int shown = 0);
    // The step type containers that are not hidden.
    static std::vector<int> VisibleContainers();
    // Each control exists with its kind, parent, place, size and text.
    static void ExpectPlacements(std::span<const Placement> placements);

    // The control's text at a virtual time, read while the player sleeps then.
    static std::shared_ptr<std::string> TextAt(int control, int64_t atMs) {
        auto text = std::make_shared<std::string>();
        headless::ScheduleAt(atMs * kMs,
                             [text, control] { *text = platform::ControlText(control); });
        return text;
    }

    // The virtual time in milliseconds.
    static int64_t NowMs() { return headless::VirtualMicroseconds() / kMs; }
};
