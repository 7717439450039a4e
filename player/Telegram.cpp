// Telegram bytes: "String" as stored, "Hex" and "Byte" as blank-separated tokens.

#include <algorithm>
#include <string>
#include <string_view>

#include "player/PlayerInternal.h"

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

// One or two hexadecimal digits, any letter case; -1 for anything else.
int HexByte(std::string_view token) {
    if (token.size() > 2) {
        return -1;
    }
    int value = 0;
    for (char c : token) {
        const int digit = HexDigit(c);
        if (digit < 0) {
            return -1;
        }
        value = value * 16 + digit;
    }
    return value;
}

// Decimal digits only, 0 to 255; -1 for anything else.
int DecimalByte(std::string_view token) {
    int value = 0;
    for (char c : token) {
        if (c < '0' || c > '9') {
            return -1;
        }
        value = value * 10 + (c - '0');
        if (value > 255) {
            return -1;
        }
    }
    return value;
}

// Reads every blank-separated token with `toByte`; runs of blanks are one separator.
bool EncodeTokens(std::string_view value, int (*toByte)(std::string_view), const char* kind,
                  std::string& bytes, std::string& error) {
    bytes.clear();
    size_t position = 0;
    while (position < value.size()) {
        if (value[position] == ' ') {
            ++position;
            continue;
        }
        const size_t end = std::min(value.find(' ', position), value.size());
        const std::string_view token = value.substr(position, end - position);
        const int byte = toByte(token);
        if (byte < 0) {
            bytes.clear();
            error = std::string("Wrong ") + kind + " value in telegram: " + std::string(token);
            return false;
        }
        bytes.push_back(static_cast<char>(byte));
        position = end;
    }
    if (bytes.empty()) {
        error = std::string("No ") + kind + " value in telegram!";
        return false;
    }
    return true;
}

}  // namespace

bool EncodeTelegram(ComType comType, std::string_view value, std::string& bytes,
                    std::string& error) {
    switch (comType) {
        case ComType::Hex:
            return EncodeTokens(value, HexByte, "hex", bytes, error);
        case ComType::Byte:
            return EncodeTokens(value, DecimalByte, "byte", bytes, error);
        default:
            bytes.assign(value);
            return true;
    }
}
