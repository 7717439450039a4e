// The Wait step's values and matchers: the pixel and answer readers, the time, the title and
// colour matchers, and the answer buffer over bytes that arrive in pieces; and the choice of the
// window a Window step acts on by its title.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "steps/WaitKinds.h"
#include "steps/WaitValues.h"
#include "steps/WindowChoice.h"

namespace {

struct PixelCase {
    const char* value;
    bool valid;
    PixelCondition read;
};

const PixelCase kPixels[] = {
    {"812 440 33CC33", true, {812, 440, 0x33CC33, 0}},
    {"812 440 33cc33 10", true, {812, 440, 0x33CC33, 10}},
    {"0 0 000000 255", true, {0, 0, 0, 255}},
    {"812 440 33CC33 256", false, {}},
    {"812 440 33CC3", false, {}},
    {"812 440 33CC33G", false, {}},
    {"812  440 33CC33", false, {}},
    {"-1200 -40 FF0000", true, {-1200, -40, 0xFF0000, 0}},  // monitors left of and above
    {"--1 440 33CC33", false, {}},
    {"- 440 33CC33", false, {}},
    {"+1 440 33CC33", false, {}},
    {"812 440", false, {}},
    {"812 440 33CC33 1 2", false, {}},
    {"", false, {}},
};

TEST(WaitValues, PixelValues) {
    for (const PixelCase& c : kPixels) {
        SCOPED_TRACE(c.value);
        PixelCondition pixel;
        ASSERT_EQ(ReadPixelValue(c.value, pixel), c.valid);
        if (c.valid) {
            EXPECT_EQ(pixel.x, c.read.x);
            EXPECT_EQ(pixel.y, c.read.y);
            EXPECT_EQ(pixel.rgb, c.read.rgb);
            EXPECT_EQ(pixel.tolerance, c.read.tolerance);
        }
    }
    EXPECT_EQ(PixelValueText(812, 440, 0x03CC0A), "812 440 03CC0A");
}

TEST(WaitValues, AnswerValues) {
    const struct {
        const char* value;
        bool valid;
        const char* port;
        const char* text;
    } cases[] = {
        {"COM5 OK", true, "COM5", "OK"}, {"COM12  OK now ", true, "COM12", " OK now "},
        {"COM5", false, "", ""},         {"COM5 ", false, "", ""},
        {"COM0 OK", false, "", ""},      {"COMx OK", false, "", ""},
        {"LPT1 OK", false, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        AnswerCondition answer;
        ASSERT_EQ(ReadAnswerValue(c.value, answer), c.valid);
        if (c.valid) {
            EXPECT_EQ(answer.port, c.port);
            EXPECT_EQ(answer.text, c.text);
        }
    }
}

TEST(WaitValues, KindsTimesTitlesAndColours) {
    EXPECT_TRUE(WaitValueValid("NoWindow", "Save"));
    EXPECT_FALSE(WaitValueValid("Active", ""));
    EXPECT_FALSE(WaitValueValid("window", "Save"));
    const struct {
        const char* text;
        bool valid;
        float seconds;
    } times[] = {{"0", true, 0.0f},      {"2.5", true, 2.5f},   {".5", true, 0.5f},
                 {"86400", true, 86400}, {"86400.1", false, 0}, {"-1", false, 0},
                 {"1e3", false, 0},      {".", false, 0},       {"", false, 0},
                 {"1,5", false, 0}};
    for (const auto& t : times) {
        SCOPED_TRACE(t.text);
        float seconds = -1.0f;
        ASSERT_EQ(ReadWaitTime(t.text, seconds), t.valid);
        if (t.valid) {
            EXPECT_EQ(seconds, t.seconds);
        }
    }
    EXPECT_TRUE(TitleContains("Save As - Notepad", "save as"));
    EXPECT_TRUE(TitleContains("SAVE AS", "Save As"));
    EXPECT_FALSE(TitleContains("Save", "Save As"));
    EXPECT_TRUE(ColourMatches(0x33CC33, 0x33CC33, 0));
    EXPECT_TRUE(ColourMatches(0x3DC229, 0x33CC33, 10));
    EXPECT_FALSE(ColourMatches(0x33CC33, 0x33CC34, 0));
    EXPECT_FALSE(ColourMatches(0x3ECC33, 0x33CC33, 10));  // red alone is 11 off
}

// Looks that cost more are made less often: at most a 30th of one core, within 20 to 150 ms.
TEST(WaitValues, APicturesPollPeriodFollowsTheLooksCost) {
    const struct {
        int64_t looks, cpuMicroseconds, period;
    } rows[] = {
        {0, 0, 20'000},       {5, 0, 20'000},          // nothing measured yet
        {4, 10'000, 75'000},  {100, 290'000, 87'000},  // 2.5 and 2.9 ms a look
        {1, 40'000, 150'000}, {3, -5, 20'000},         // slow looks; a clock that went back
    };
    for (const auto& row : rows) {
        EXPECT_EQ(PicturePollMicroseconds(20'000, row.looks, row.cpuMicroseconds), row.period)
            << row.looks << " looks, " << row.cpuMicroseconds << " us";
    }
}

TEST(WaitValues, AnswerBufferMatchesOnlyWhatCameAfterTheSendOrTheLastMatch) {
    AnswerBuffer buffer;
    buffer.Append("O");
    buffer.Append("K\r\nAT");
    EXPECT_TRUE(buffer.TakeMatch("AT"));  // since the opening, when nothing was sent
    buffer.Append("OK");
    buffer.MarkSend();
    EXPECT_FALSE(buffer.TakeMatch("OK"));  // arrived before the send
    buffer.Append("Z\r\nO");
    EXPECT_FALSE(buffer.TakeMatch("ATZ"));  // its start came before the send
    EXPECT_FALSE(buffer.TakeMatch("OK"));
    buffer.Append("K READY READY");
    EXPECT_FALSE(buffer.TakeMatch("ok"));
    EXPECT_TRUE(buffer.TakeMatch("OK"));   // split across two reads
    EXPECT_FALSE(buffer.TakeMatch("OK"));  // an answer counts once
    EXPECT_TRUE(buffer.TakeMatch("READY"));
    EXPECT_TRUE(buffer.TakeMatch("READY"));
    EXPECT_FALSE(buffer.TakeMatch("READY"));
}

TEST(WaitValues, AnswerBufferDropsTheOldestBytesFirst) {
    AnswerBuffer buffer;
    buffer.Append("AB");
    buffer.Append(std::string(AnswerBuffer::kCapacity - 1, '.'));
    EXPECT_FALSE(buffer.TakeMatch("AB"));
    buffer.Append("OK");
    EXPECT_TRUE(buffer.TakeMatch("OK"));
}

struct Titled {
    std::string title;
};

// The windows are listed top of the z-order first.
TEST(WindowChoice, TheMatchNearestTheTopWins) {
    const std::vector<Titled> windows = {
        {"Calculator"}, {"Untitled - Notepad"}, {"notes.txt - Notepad"}, {"Save As"}};
    const struct {
        const char* text;
        int chosen;  // index, -1 for none
    } rows[] = {
        {"Notepad", 1}, {"NOTES.TXT", 2}, {"save as", 3}, {"calc", 0},
        {"d - n", 1},   {"Notepad2", -1}, {"", -1},       {"Calculator ", -1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        const Titled* chosen = ChooseWindow(windows, row.text);
        EXPECT_EQ(chosen == nullptr ? -1 : static_cast<int>(chosen - windows.data()), row.chosen);
    }
    EXPECT_EQ(ChooseWindow(std::vector<Titled>{}, "Notepad"), nullptr);
}

}  // namespace
