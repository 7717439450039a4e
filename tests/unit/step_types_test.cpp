// Every step type through every layer's row: a sample line of each type is read, written again
// byte for byte, passes the text check, is shown in the panel and stored back unchanged; every
// type has its panel row and its action. The type number is read as exact text.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "editor/EditorPanel.h"
#include "editor/PanelTypes.h"
#include "player/PlayerInternal.h"
#include "steps/Numbers.h"
#include "steps/RList.h"
#include "steps/StepFile.h"
#include "steps/StepTextCheck.h"
#include "steps/StepTypes.h"
#include "tests/unit/support/Fixture.h"

namespace {

// One line of every type, every field set to a value the panel can show.
const char* const kSamples[] = {
    "1;L_Click;12;34;left",
    "1;Ldbl_Click;0;7;",
    "2;String;Hello;greet",
    "2;Key;{F2};press",
    "3;2.5;wait",
    "4;1;3;again",
    "5;COM2;Hex;F4 03;send",
    "5;COM1;Initialise;9600 N 8 1;",
    "6;1;jump",
    "7;Ready;state",
    "8;C:\\Tools\\report.exe;run",
    "9;Done;message",
    "10;Pixel;-5 7 33CC33 10;2.5;1;wait",
    "10;Answer;COM3 OK;0.0;0;",
    "11;Ldbl_Click;Untitled - Notepad;40;-6;open",
    "11;Move;Calculator;-1280;80;",
    "11;Close;Notepad;0;0;",
    "10;Image;8 ok.png;5.0;0;",
    "12;L_Click;0 ok.png;0;0;",
    "12;Move;12 icons\\led green.png;-4;9;led",
};

StepRecord Read(const std::string& line) {
    StepRecord step;
    std::string unknown;
    EXPECT_EQ(ParseStepLine(line, step, unknown), LineKind::Step) << line;
    return step;
}

TEST(StepTypeRows, EveryTypeHasItsRowInEveryLayerAndASample) {
    std::set<int32_t> sampled;
    for (const char* line : kSamples) {
        sampled.insert(Read(line).RECORDtype);
    }
    EXPECT_EQ(PanelTypes().size(), StepTypes().size());
    EXPECT_EQ(StepActions().size(), StepTypes().size());
    for (const StepType& type : StepTypes()) {
        SCOPED_TRACE(type.chooserText);
        EXPECT_EQ(std::string(type.chooserText).rfind(IntegerText(type.number) + " ", 0), 0u);
        ASSERT_NE(PanelTypeOf(type.number), nullptr);
        EXPECT_NE(StepActionOf(type.number), nullptr);
        EXPECT_EQ(sampled.count(type.number), 1u);
    }
}

TEST(StepTypeRows, TheTypeIsItsNumberAsExactText) {
    const struct {
        const char* field;
        int32_t type;
    } rows[] = {{"1", 1},  {"9", 9}, {"10", 10}, {"01", 0},  {" 1", 0}, {"1 ", 0},
                {"+1", 0}, {"0", 0}, {"", 0},    {"100", 0}, {"99", 0}, {"1x", 0}};
    for (const auto& row : rows) {
        EXPECT_EQ(ReadStepType(row.field), row.type) << "\"" << row.field << "\"";
    }
}

// The pictures the samples name, where a list not saved yet finds them: the current folder.
class StepTypeRoundTrip : public QuorvaneTest {
protected:
    void SetUp() override {
        QuorvaneTest::SetUp();
        headless::PutPicture("C:\\Users\\tester\\ok.png", Badge());
        headless::PutPicture("C:\\Users\\tester\\icons\\led green.png", Badge(3, 3));
    }
};

TEST_F(StepTypeRoundTrip, EverySampleGoesThroughFileCheckAndPanelUnchanged) {
    const std::vector<std::string> header = {"Quorvane 2.2", "u  -  01.01.2026 10:00", ""};
    for (const char* line : kSamples) {
        SCOPED_TRACE(line);
        const StepRecord step = Read(line);
        std::string written;
        ASSERT_TRUE(FormatStepLine(step, written));
        EXPECT_EQ(written, line);

        std::vector<std::string> lines = header;
        lines.emplace_back(line);
        std::string message;
        EXPECT_TRUE(CheckStepLines(lines, message)) << message;

        ShowSteps({step});
        EXPECT_EQ(VisibleContainers(), std::vector<int>{PanelTypeOf(step.RECORDtype)->container});
        EXPECT_EQ(SaveActualRecord(), 1);
        EXPECT_TRUE(TakeBoxes().empty());
        EXPECT_EQ(RList.At(0), step);

        StepRecord cleared = step;
        ClearStepFields(cleared, step.RECORDtype);
        StepRecord empty;
        empty.RECORDtype = step.RECORDtype;
        empty.Remarks = step.Remarks;
        EXPECT_EQ(cleared, empty);
    }
}

}  // namespace
