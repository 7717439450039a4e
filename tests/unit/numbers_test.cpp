// Number reading and writing: the texts of step files and editor inputs.

#include "steps/Numbers.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "platform/headless/headless.h"

namespace {

struct IntegerCase {
    const char* text;
    int64_t value64;
    int32_t value32;
};

const IntegerCase kIntegerCases[] = {
    {"", 0, 0},
    {"abc", 0, 0},
    {"0", 0, 0},
    {"42", 42, 42},
    {"-5", -5, -5},
    {"+7", 7, 7},
    {"  12", 12, 12},
    {"\t\t 12", 12, 12},
    {" \t-3x", -3, -3},
    {"12abc", 12, 12},
    {"1 2", 1, 1},
    {"1.9", 1, 1},
    {"$10", 16, 16},
    {"$ff", 255, 255},
    {"$FFz", 255, 255},
    {"-$10", -16, -16},
    {"$", 0, 0},
    {"$g", 0, 0},
    {"%101", 5, 5},
    {"%1012", 5, 5},
    {"-%11", -3, -3},
    {"%", 0, 0},
    {"- 5", 0, 0},
    {"--5", 0, 0},
    {"+-5", 0, 0},
    {"$-5", 0, 0},
    {"0x10", 0, 0},
    {"2147483647", 2147483647, 2147483647},
    {"2147483648", 2147483648LL, INT32_MIN},
    {"4294967296", 4294967296LL, 0},
    {"4294967297", 4294967297LL, 1},
    {"-2147483649", -2147483649LL, 2147483647},
    {"$FFFFFFFF", 4294967295LL, -1},
    {"9223372036854775807", INT64_MAX, -1},
    {"9223372036854775808", INT64_MIN, 0},
    {"18446744073709551616", 0, 0},
    {"18446744073709551617", 1, 1},
    {"$FFFFFFFFFFFFFFFF", -1, -1},
    {"$10000000000000005", 5, 5},
    {"99999999999999999999999999999999", static_cast<int64_t>(0x85ACEF80FFFFFFFFu), -1},
};

TEST(NumberReading, IntegerTable) {
    for (const IntegerCase& c : kIntegerCases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ReadInteger64(c.text), c.value64);
        EXPECT_EQ(ReadInteger(c.text), c.value32);
    }
}

TEST(NumberReading, StopsAtEndOfView) {
    const std::string text = "1234";
    EXPECT_EQ(ReadInteger(std::string_view(text).substr(0, 2)), 12);
}

struct DecimalCase {
    const char* text;
    double value;
};

const DecimalCase kDecimalCases[] = {
    {"", 0.0},
    {"abc", 0.0},
    {"1.25", 1.25},
    {"0.5", 0.5},
    {"  \t2.5", 2.5},
    {"-1.5", -1.5},
    {"+1.5", 1.5},
    {"3", 3.0},
    {".5", 0.5},
    {"5.", 5.0},
    {".", 0.0},
    {"1,5", 1.0},
    {"1.5;x", 1.5},
    {"1e3", 1000.0},
    {"1E-2", 0.01},
    {"2.5e+1", 25.0},
    {"1e", 1.0},
    {"1e+", 1.0},
    {"1ex", 1.0},
    {"- 1", 0.0},
    {"1e400", HUGE_VAL},
    {"-1e400", -HUGE_VAL},
    {"1e-400", 0.0},
    {"0.000", 0.0},
    {"$10", 0.0},
    {"Infinity", HUGE_VAL},
    {"+Infinity", HUGE_VAL},
    {"-Infinity", -HUGE_VAL},
    {"INFINITY", HUGE_VAL},
    {"-infinity", -HUGE_VAL},
    {"Infinityx", HUGE_VAL},
};

TEST(NumberReading, DecimalTable) {
    for (const DecimalCase& c : kDecimalCases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ReadDecimal(c.text), c.value);
        EXPECT_EQ(ReadFloat(c.text), static_cast<float>(c.value));
    }
}

TEST(NumberReading, NaNInAnyCase) {
    for (const char* text : {"NaN", "nan", "NAN", "+NaN", "-nan", " NaN"}) {
        SCOPED_TRACE(text);
        EXPECT_TRUE(std::isnan(ReadDecimal(text)));
        EXPECT_TRUE(std::isnan(ReadFloat(text)));
    }
}

TEST(NumberReading, FloatIsRoundedOnceFromTheText) {
    EXPECT_EQ(ReadFloat("0.1"), 0.1f);
    EXPECT_EQ(ReadFloat("1e39"), std::numeric_limits<float>::infinity());
    EXPECT_EQ(ReadFloat("1e-50"), 0.0f);
}

TEST(NumberReading, VeryLongDigitRuns) {
    const std::string digits(100000, '9');
    EXPECT_EQ(ReadDecimal(digits), HUGE_VAL);
    EXPECT_EQ(ReadFloat("0." + digits), 1.0f);
    EXPECT_EQ(ReadDecimal("0." + std::string(100000, '0') + "1"), 0.0);
}

// A user whose locale writes "1,5" must still read "1.5" from a file.
TEST(NumberReading, DecimalPointWhateverTheLocale) {
    const char* commaLocales[] = {"de_DE.UTF-8", "de_DE", "fr_FR.UTF-8", "C.UTF-8"};
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    for (const char* name : commaLocales) {
        if (std::setlocale(LC_NUMERIC, name) == nullptr) {
            continue;
        }
        SCOPED_TRACE(name);
        EXPECT_EQ(ReadDecimal("1.5"), 1.5);
        EXPECT_EQ(ReadFloat("0.25"), 0.25f);
        EXPECT_EQ(OneDecimalText(2.5f), "2.5");
    }
    std::setlocale(LC_NUMERIC, before.c_str());
}

// [SECTION] Writing

TEST(NumberWriting, IntegerText) {
    EXPECT_EQ(IntegerText(0), "0");
    EXPECT_EQ(IntegerText(-5), "-5");
    EXPECT_EQ(IntegerText(2147483647), "2147483647");
    EXPECT_EQ(IntegerText(INT64_MIN), "-9223372036854775808");
}

struct OneDecimalCase {
    float value;
    const char* text;
};

const OneDecimalCase kOneDecimalCases[] = {
    {0.5f, "0.5"},
    {2.0f, "2.0"},
    {0.0f, "0.0"},
    {1.25f, "1.2"},
    {0.25f, "0.2"},
    {0.35f, "0.3"},
    {0.36f, "0.4"},
    {0.05f, "0.1"},
    {-1.5f, "-1.5"},
    {123456.7f, "123456.7"},
    {1e10f, "10000000000.0"},
    {std::numeric_limits<float>::infinity(), "+Infinity"},
    {-std::numeric_limits<float>::infinity(), "-Infinity"},
    {std::numeric_limits<float>::quiet_NaN(), "NaN"},
};

TEST(NumberWriting, OneDecimalRoundsTheExactValue) {
    for (const OneDecimalCase& c : kOneDecimalCases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(OneDecimalText(c.value), c.text);
    }
}

TEST(NumberWriting, OneDecimalReadsBack) {
    for (const float value :
         {0.5f, 3.0f, -2.5f, 1e20f, std::numeric_limits<float>::max(),
          std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity()}) {
        SCOPED_TRACE(value);
        EXPECT_EQ(ReadFloat(OneDecimalText(value)), value);
    }
    EXPECT_TRUE(std::isnan(ReadFloat(OneDecimalText(std::nanf("")))));
}

// [SECTION] Texts

TEST(Texts, UserDateLine) {
    headless::Reset();
    headless::SetUserName("anna");
    headless::SetLocalTime({2027, 3, 4, 7, 5});
    EXPECT_EQ(UserDateLine(), "anna  -  04.03.2027 07:05");
    headless::SetLocalTime({1999, 12, 31, 23, 59});
    EXPECT_EQ(UserDateLine(), "anna  -  31.12.1999 23:59");
}

TEST(Texts, FileNamePart) {
    EXPECT_EQ(FileNamePart("C:\\Steps\\plan.stp"), "plan.stp");
    EXPECT_EQ(FileNamePart("/home/a/plan.stp"), "plan.stp");
    EXPECT_EQ(FileNamePart("C:\\a/b\\c.stp"), "c.stp");
    EXPECT_EQ(FileNamePart("plan.stp"), "plan.stp");
    EXPECT_EQ(FileNamePart("C:\\Steps\\"), "");
    EXPECT_EQ(FileNamePart(""), "");
}

}  // namespace
