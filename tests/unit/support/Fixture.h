// The common fixture of the unit tests: a fresh headless platform and a started main window.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/headless.h"

class QuorvaneTest : public ::testing::Test {
protected:
    // headless::Reset(), then StartUp() (main window, menus, editor panel; no threads).
    void SetUp() override;

    // Titles and texts of the boxes shown since the last call, "title: text" each.
    std::vector<std::string> TakeBoxes();
};
