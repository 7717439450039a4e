#include "steps/Numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <system_error>

#include "platform/system.h"

// [SECTION] Integers

namespace {

int DigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return 99;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Position after the leading blanks and tabs and an optional "+" or "-".
size_t SkipBlanksAndSign(std::string_view text, bool& negative) {
    size_t at = 0;
    while (at < text.size() && IsBlank(text[at])) {
        ++at;
    }
    negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    return at;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// True when `text` begins with `word` (lower case) in any letter case.
bool StartsWithAnyCase(std::string_view text, std::string_view word) {
    if (text.size() < word.size()) {
        return false;
    }
    for (size_t i = 0; i < word.size(); ++i) {
        if (LowerAscii(text[i]) != word[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

int64_t ReadInteger64(std::string_view text) {
    bool negative = false;
    size_t at = SkipBlanksAndSign(text, negative);
    unsigned base = 10;
    if (at < text.size() && (text[at] == '$' || text[at] == '%')) {
        base = text[at] == '$' ? 16 : 2;
        ++at;
    }
    // Unsigned arithmetic wraps in 64 bits without undefined behaviour.
    uint64_t value = 0;
    for (; at < text.size(); ++at) {
        const int digit = DigitValue(text[at]);
        if (digit >= static_cast<int>(base)) {
            break;
        }
        value = value * base + static_cast<uint64_t>(digit);
    }
    if (negative) {
        value = 0 - value;
    }
    return static_cast<int64_t>(value);
}

int32_t ReadInteger(std::string_view text) {
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(ReadInteger64(text))));
}

bool ReadCount(std::string_view text, int32_t& value) {
    if (text.empty() || text.size() > 9 ||
        std::find_if_not(text.begin(), text.end(), IsDigit) != text.end()) {
        return false;
    }
    value = ReadInteger(text);
    return true;
}

bool ReadCoordinate(std::string_view text, int32_t& value) {
    const bool negative = text.starts_with('-');
    if (!ReadCount(negative ? text.substr(1) : text, value)) {
        return false;
    }
    value = negative ? -value : value;
    return true;
}

// [SECTION] Decimals

namespace {

// Length of the longest prefix of `text` shaped digits [. digits] [e [sign] digits] with at least
// one digit before the exponent; 0 when there is none. `scale` gets the decimal position of the
// first non-zero digit plus the exponent, to tell an overflow from an underflow.
size_t DecimalExtent(std::string_view text, int64_t& scale) {
    size_t at = 0;
    size_t digits = 0;
    int64_t position = 0;  // digits before the point, after leading zeros
    bool seenNonZero = false;
    int64_t leadingFractionZeros = 0;
    while (at < text.size() && IsDigit(text[at])) {
        seenNonZero = seenNonZero || text[at] != '0';
        position += seenNonZero ? 1 : 0;
        ++at;
        ++digits;
    }
    if (at < text.size() && text[at] == '.') {
        ++at;
        while (at < text.size() && IsDigit(text[at])) {
            if (!seenNonZero && text[at] == '0') {
                ++leadingFractionZeros;
            }
            seenNonZero = seenNonZero || text[at] != '0';
            ++at;
            ++digits;
        }
    }
    if (digits == 0) {
        return 0;
    }
    scale = position > 0 ? position : -leadingFractionZeros;
    size_t exponentAt = at;
    if (exponentAt < text.size() && (text[exponentAt] == 'e' || text[exponentAt] == 'E')) {
        ++exponentAt;
        bool negative = false;
        if (exponentAt < text.size() && (text[exponentAt] == '+' || text[exponentAt] == '-')) {
            negative = text[exponentAt] == '-';
            ++exponentAt;
        }
        if (exponentAt < text.size() && IsDigit(text[exponentAt])) {
            int64_t exponent = 0;
            while (exponentAt < text.size() && IsDigit(text[exponentAt])) {
                if (exponent < 1'000'000'000) {
                    exponent = exponent * 10 + (text[exponentAt] - '0');
                }
                ++exponentAt;
            }
            scale += negative ? -exponent : exponent;
            at = exponentAt;
        }
    }
    return at;
}

template <typename Real>
Real ReadReal(std::string_view text) {
    bool negative = false;
    const std::string_view rest = text.substr(SkipBlanksAndSign(text, negative));
    const Real sign = negative ? Real(-1) : Real(1);
    if (StartsWithAnyCase(rest, "infinity")) {
        return sign * std::numeric_limits<Real>::infinity();
    }
    if (StartsWithAnyCase(rest, "nan")) {
        return std::numeric_limits<Real>::quiet_NaN();
    }
    int64_t scale = 0;
    const size_t length = DecimalExtent(rest, scale);
    if (length == 0) {
        return Real(0);
    }
    // from_chars reads "." whatever the locale says.
    Real value = 0;
    const auto [end, error] =
        std::from_chars(rest.data(), rest.data() + length, value, std::chars_format::general);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        value = scale > 0 ? std::numeric_limits<Real>::infinity() : Real(0);
    } else if (error != std::errc()) {
        value = 0;
    }
    return sign * value;
}

}  // namespace

double ReadDecimal(std::string_view text) {
    return ReadReal<double>(text);
}

float ReadFloat(std::string_view text) {
    return ReadReal<float>(text);
}

// [SECTION] Writing numbers

std::string IntegerText(int64_t value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string OneDecimalText(float value) {
    if (std::isnan(value)) {
        return "NaN";
    }
    if (std::isinf(value)) {
        return value > 0 ? "+Infinity" : "-Infinity";
    }
    // Correctly rounded from the float's exact value, and never a locale's decimal comma.
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 1);
    return std::string(buffer, result.ptr);
}

// [SECTION] Texts

std::string UserDateLine() {
    const platform::LocalTime now = platform::CurrentLocalTime();
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%02d.%02d.%04d %02d:%02d", now.day, now.month, now.year,
                  now.hour, now.minute);
    return platform::UserName() + "  -  " + stamp;
}

std::string FileNamePart(std::string_view path) {
    const size_t slash = path.find_last_of("\\/");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}
