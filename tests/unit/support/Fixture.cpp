#include "tests/unit/support/Fixture.h"

#include "Forms/FormMAIN.h"
#include "Forms/MainWindow.h"
#include "Quorvane/Quorvane.h"
#include "editor/EditorPanel.h"
#include "editor/PanelTypes.h"
#include "steps/RList.h"
#include "steps/RunLog.h"

void QuorvaneTest::SetUp() {
    headless::Reset();
    CloseRunLog();
    StartUp();
}

void QuorvaneTest::TearDown() {
    EXPECT_EQ(headless::WrongThreadCalls(), std::vector<std::string>{});
}

void QuorvaneTest::HandlePendingEvents() {
    SettleStartUp();
}

std::vector<std::string> QuorvaneTest::TakeBoxes() {
    std::vector<std::string> shown;
    for (const auto& box : headless::Boxes()) {
        shown.push_back(box.title + ": " + box.text);
    }
    headless::ClearBoxes();
    return shown;
}

void QuorvaneTest::ShowSteps(const std::vector<StepRecord>& steps, int shown) {
    RList.Clear();
    for (const StepRecord& step : steps) {
        RList.AddAfterCurrent() = step;
    }
    RList.Select(shown);
    GetValues();
    HideStepPanel(0);
}

std::vector<int> QuorvaneTest::VisibleContainers() {
    std::vector<int> visible;
    for (const PanelType* row : PanelTypes()) {
        if (!headless::Control(row->container).hidden) {
            visible.push_back(row->container);
        }
    }
    return visible;
}

void QuorvaneTest::ExpectPlacements(std::span<const Placement> placements) {
    for (const Placement& expected : placements) {
        SCOPED_TRACE(expected.control);
        const headless::ControlState control = headless::Control(expected.control);
        ASSERT_TRUE(control.exists);
        EXPECT_EQ(control.kind, expected.kind);
        EXPECT_EQ(control.parent, expected.parent);
        EXPECT_EQ(control.x, expected.x);
        EXPECT_EQ(control.y, expected.y);
        EXPECT_EQ(control.width, expected.width);
        EXPECT_EQ(control.height, expected.height);
        EXPECT_EQ(control.text, expected.text);
    }
}
