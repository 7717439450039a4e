#include "tests/unit/support/Fixture.h"

#include "Forms/MainWindow.h"
#include "Quorvane/Quorvane.h"

void QuorvaneTest::SetUp() {
    headless::Reset();
    StartUp();
}

std::vector<std::string> QuorvaneTest::TakeBoxes() {
    std::vector<std::string> shown;
    for (const auto& box : headless::Boxes()) {
        shown.push_back(box.title + ": " + box.text);
    }
    headless::ClearBoxes();
    return shown;
}
