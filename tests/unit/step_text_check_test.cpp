// The step text check of the text editor window: every rule with its message, and the stamping
// of the header lines.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Forms/FormEditor.h"
#include "editor/TextEditor.h"
#include "platform/headless/headless.h"
#include "platform/window.h"
#include "steps/StepTextCheck.h"
#include "tests/unit/support/Fixture.h"

namespace {

const std::vector<std::string> kHeader = {"Quorvane 2.2", "anna  -  01.01.2026 10:00", "info"};

// The message for one step line after the header; "" when it passes.
std::string Check(const std::string& line) {
    std::vector<std::string> lines = kHeader;
    lines.push_back(line);
    std::string message;
    const bool passed = CheckStepLines(lines, message);
    EXPECT_EQ(passed, message.empty()) << line;
    return message;
}

const std::string kCount = "Wrong count of values in CODE line 1";
const std::string kChoice = "Wrong recordvalues in CODE line 1";
const std::string kRange = "Wrong Recordvalues in CODE line 1";
const std::string kUnknown = "Unknown Recordtype in CODE line 1";

struct CheckCase {
    const char* line;
    const std::string& message;
};
const std::string kPasses;

const CheckCase kCases[] = {
    // Mouse
    {"1;L_Click;0;0;", kPasses},
    {"1;Ldbl_Click;5;5;remark", kPasses},
    {"1;R_Click;$10;%1;", kPasses},
    {"1;M_Click; 7;\t8;", kPasses},
    {"1;L_Click;5;5", kCount},
    {"1;L_Click;5;5;a;b", kCount},
    {"1;l_click;5;5;", kChoice},
    {"1;;5;5;", kChoice},
    {"1;L_Click;00;5;", kRange},
    {"1;L_Click;-3;5;", kRange},
    {"1;L_Click;;5;", kRange},
    {"1;L_Click;5;0x;", kRange},
    {"1;L_Click;4294967296;5;", kPasses},  // 64 bits: not wrapped to 0
    {"1;L_Click;18446744073709551615;5;", kRange},
    // the count comes before the values
    {"1;bad;5", kCount},
    // Keyboard
    {"2;Key;;", kPasses},
    {"2;String;Hello;greeting", kPasses},
    {"2;Key;{F2}", kCount},
    {"2;key;{F2};", kChoice},
    {"2;;x;", kChoice},
    // Delay: a 32-bit float compared with 0.1f
    {"3;0.1;", kPasses},
    {"3;2;", kPasses},
    {"3;+Infinity;", kPasses},
    {"3;0.05;", kRange},
    {"3;abc;", kRange},
    {"3;-1;", kRange},
    {"3;NaN;", kRange},
    {"3;0.1", kCount},
    {"3;0.1;;", kCount},
    // Loop
    {"4;1;10;repeat", kPasses},
    {"4;99;1;", kPasses},
    {"4;0;5;", kRange},
    {"4;1;0;", kRange},
    {"4;1;-5;", kRange},
    {"4;1;5", kCount},
    // Comport
    {"5;COM3;Hex;F4 03;send", kPasses},
    {"5;COM1;Initialise;9600 N 8 1;", kPasses},
    {"5;COMx;Byte;1;", kPasses},
    {"5;COM1;String;x;", kPasses},
    {"5;com3;Hex;F4 03;", kRange},
    {"5;;Hex;F4 03;", kRange},
    {"5;COM3;hex;F4 03;", kChoice},
    {"5;COM3;Hex;;", kChoice},
    {"5;COM3;Hex;F4", kCount},
    // Jump
    {"6;3;", kPasses},
    {"6;1000;beyond the last step", kPasses},
    {"6;0;", kRange},
    {"6;-1;", kRange},
    {"6;3", kCount},
    // State, Execute, Message
    {"7;;", kPasses},
    {"7;waiting;", kPasses},
    {"7;a;b;", kCount},
    {"8;C:\\Tools\\report.exe;", kPasses},
    {"8;;", kChoice},
    {"8;x", kCount},
    {"9;;", kPasses},
    {"9;Done", kCount},
    // Wait
    {"10;Window;Save As;10.0;0;dialog open", kPasses},
    {"10;Pixel;812 440 33CC33 10;5;0;", kPasses},
    {"10;Answer;COM5 OK;0;1;", kPasses},
    {"10;Pixel;-1200 -40 FF0000;1;0;", kPasses},
    // an else step beyond the last line: a time-out would have no step to go to
    {"10;Answer;COM5 OK;0;2;", kRange},
    {"10;Window;Save As;10.0;0", kCount},
    {"10;window;Save As;1;0;", kChoice},
    {"10;NoWindow;;1;0;", kChoice},
    {"10;Pixel;812 440 33CC3;1;0;", kChoice},
    {"10;Answer;COM5;1;0;", kChoice},
    {"10;Active;a;86400.1;0;", kChoice},
    {"10;Active;a;-1;0;", kChoice},
    {"10;Active;a;soon;0;", kChoice},
    {"10;Active;a;1;-2;", kChoice},
    // Window
    {"11;Move;Calculator;-1280;-5;left monitor", kPasses},
    {"11;Close;x;0;0;", kPasses},
    {"11;Activate;Notepad;0;0", kCount},
    {"11;activate;Notepad;0;0;", kChoice},
    {"11;Activate;;0;0;", kChoice},
    {"11;L_Click;Notepad;;0;", kChoice},
    {"11;L_Click;Notepad;$10;+4;", kChoice},
    {"11;Size;Notepad;400;0;", kRange},
    {"10;Image;12 icons\\led green.png;5.0;0;", kPasses},
    {"10;Image;icons.png;5.0;0;", kChoice},
    // Image: the file itself is not opened
    {"12;L_Click;0 no such file.png;0;0;", kPasses},
    {"12;Move;255 C:\\a.bmp;-40;7;left of the centre", kPasses},
    {"12;L_Click;0 a.png;0;0", kCount},
    {"12;l_click;0 a.png;0;0;", kChoice},
    {"12;L_Click;256 a.png;0;0;", kChoice},
    {"12;L_Click;a.png;0;0;", kChoice},
    {"12;L_Click;0 a.png;$10;0;", kChoice},
    {"12;L_Click;0 a.png;0;;", kChoice},
    // Remarks with a ";"
    {"9;Done;a;b", kCount},
    // Comments and other lines
    {"'", kPasses},
    {"'anything;;;at all", kPasses},
    {"", kUnknown},
    {" 1;L_Click;5;5;", kUnknown},
    {"13;L_Click;5;5;", kUnknown},
    {"01;L_Click;5;5;", kUnknown},
    {"0;", kUnknown},
    {"x", kUnknown},
};

TEST(StepTextCheckRules, EveryRuleAndItsMessage) {
    for (const CheckCase& c : kCases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(Check(c.line), c.message);
    }
}

TEST(StepTextCheckRules, OnlyTheFirstFaultyLineIsReported) {
    std::vector<std::string> lines = kHeader;
    for (const char* line : {"7;a;", "6;0;", "9;ok;", "'c", "8;;"}) {
        lines.push_back(line);
    }
    std::string message;
    EXPECT_FALSE(CheckStepLines(lines, message));
    EXPECT_EQ(message, "Wrong Recordvalues in CODE line 2");
    lines[4] = "6;1;";
    EXPECT_FALSE(CheckStepLines(lines, message));
    EXPECT_EQ(message, "Wrong recordvalues in CODE line 5");
    lines[7] = "8;x;";
    EXPECT_TRUE(CheckStepLines(lines, message));
    EXPECT_EQ(message, "");
}

TEST(StepTextCheckRules, HeaderLinesAreNotChecked) {
    std::string message;
    EXPECT_TRUE(CheckStepLines({"anything", "", ";;;"}, message));
    EXPECT_TRUE(CheckStepLines({}, message));
}

// The text editor window's text

class EditorCheckTest : public QuorvaneTest {
protected:
    void SetUp() override {
        QuorvaneTest::SetUp();
        headless::SetUserName("bert");
        headless::SetLocalTime({2026, 11, 2, 8, 9});
        ShowEditor();
        TakeBoxes();
    }
};

TEST_F(EditorCheckTest, StampsTheHeaderWhateverTheOutcome) {
    platform::SetTextLines(EditorText,
                           {"Old Title", "someone  -  01.01.2000 00:00", "my info", "6;0;"});
    EXPECT_FALSE(CheckEditorSteps());
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"Input: Wrong Recordvalues in CODE line 1"});
    EXPECT_EQ(
        platform::TextLines(EditorText),
        (std::vector<std::string>{"Quorvane 2.2", "bert  -  02.11.2026 08:09", "my info", "6;0;"}));
    platform::SetTextLine(EditorText, 3, "6;1;");
    EXPECT_TRUE(CheckEditorSteps());
    EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(EditorCheckTest, MissingHeaderLinesAreCreated) {
    for (const std::vector<std::string>& text :
         {std::vector<std::string>{""}, std::vector<std::string>{"x", "y"}}) {
        platform::SetTextLines(EditorText, text);
        EXPECT_TRUE(CheckEditorSteps());
        const std::vector<std::string> lines = platform::TextLines(EditorText);
        ASSERT_EQ(lines.size(), 3u);
        EXPECT_EQ(lines[0], "Quorvane 2.2");
        EXPECT_EQ(lines[1], "bert  -  02.11.2026 08:09");
    }
}

// A text that ends in a line break shows an empty last line; it is not a step line.
TEST_F(EditorCheckTest, FinalLineBreakMakesNoEmptyStep) {
    platform::SetTextLines(EditorText, {"t", "u", "i", "7;a;", ""});
    EXPECT_TRUE(CheckEditorSteps());
    platform::SetTextLines(EditorText, {"t", "u", "i", "7;a;", "", ""});
    EXPECT_FALSE(CheckEditorSteps());
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"Input: Unknown Recordtype in CODE line 2"});
    platform::SetTextLines(EditorText, {"t", "u", "i", "", "7;a;"});
    EXPECT_FALSE(CheckEditorSteps());
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"Input: Unknown Recordtype in CODE line 1"});
}

}  // namespace

// The example lists shipped beside the program stay lists the checker passes.
TEST(ExampleLists, EveryExamplePassesTheCheck) {
    int examples = 0;
    for (const auto& entry : std::filesystem::directory_iterator(QUORVANE_EXAMPLES_DIR)) {
        if (entry.path().extension() != ".stp") {
            continue;
        }
        std::ifstream file(entry.path());
        std::vector<std::string> lines;
        for (std::string line; std::getline(file, line);) {
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            lines.push_back(line);
        }
        std::string message;
        EXPECT_TRUE(CheckStepLines(lines, message)) << entry.path() << ": " << message;
        ++examples;
    }
    EXPECT_GE(examples, 7);
}
