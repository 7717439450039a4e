#include "steps/WaitValues.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "steps/Numbers.h"

namespace {

constexpr float kMaxWaitSeconds = 86400.0f;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool AllDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
}

bool ReadRgb(std::string_view text, uint32_t& rgb) {
    if (text.size() != 6 || !std::all_of(text.begin(), text.end(), [](char c) {
            return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
        })) {
        return false;
    }
    rgb = static_cast<uint32_t>(std::strtoul(std::string(text).c_str(), nullptr, 16));
    return true;
}

int32_t Channel(uint32_t rgb, int shift) {
    return static_cast<int32_t>((rgb >> shift) & 0xFF);
}

}  // namespace

bool ReadPixelValue(std::string_view value, PixelCondition& pixel) {
    std::array<std::string_view, 5> parts{};
    size_t count = 0;
    while (count < parts.size()) {
        const size_t blank = value.find(' ');
        parts[count++] = value.substr(0, blank);
        if (blank == std::string_view::npos) {
            break;
        }
        value.remove_prefix(blank + 1);
    }
    if (count < 3 || count > 4) {
        return false;
    }
    PixelCondition read;
    if (!ReadCoordinate(parts[0], read.x) || !ReadCoordinate(parts[1], read.y) ||
        !ReadRgb(parts[2], read.rgb)) {
        return false;
    }
    if (count == 4 && (!ReadCount(parts[3], read.tolerance) || read.tolerance > 255)) {
        return false;
    }
    pixel = read;
    return true;
}

std::string PixelValueText(int32_t x, int32_t y, uint32_t rgb) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text = IntegerText(x) + " " + IntegerText(y) + " ";
    for (int shift = 20; shift >= 0; shift -= 4) {
        text += kHex[(rgb >> shift) & 0xF];
    }
    return text;
}

bool ReadAnswerValue(std::string_view value, AnswerCondition& answer) {
    const size_t blank = value.find(' ');
    if (blank == std::string_view::npos || blank + 1 == value.size()) {
        return false;
    }
    const std::string_view port = value.substr(0, blank);
    if (!port.starts_with("COM") || !AllDigits(port.substr(3)) || ReadInteger(port.substr(3)) < 1) {
        return false;
    }
    answer.port = port;
    answer.text = value.substr(blank + 1);
    return true;
}

bool ReadWaitTime(std::string_view text, float& seconds) {
    const size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view{} : text.substr(point + 1);
    const bool wellFormed = (whole.empty() || AllDigits(whole)) &&
                            (fraction.empty() || AllDigits(fraction)) &&
                            !(whole.empty() && fraction.empty());
    if (!wellFormed || whole.size() > 9) {
        return false;
    }
    const float read = ReadFloat(text);
    if (read > kMaxWaitSeconds) {
        return false;
    }
    seconds = read;
    return true;
}

bool TitleContains(std::string_view title, std::string_view text) {
    return std::search(title.begin(), title.end(), text.begin(), text.end(), [](char a, char b) {
               return LowerAscii(a) == LowerAscii(b);
           }) != title.end();
}

bool ColourMatches(uint32_t actual, uint32_t wanted, int32_t tolerance) {
    for (int shift : {16, 8, 0}) {
        if (std::abs(Channel(actual, shift) - Channel(wanted, shift)) > tolerance) {
            return false;
        }
    }
    return true;
}

void AnswerBuffer::Append(std::string_view bytes) {
    bytes_ += bytes;
    if (bytes_.size() > 2 * kCapacity) {
        const size_t excess = bytes_.size() - kCapacity;
        bytes_.erase(0, excess);
        dropped_ += excess;
    }
}

uint64_t AnswerBuffer::Kept() const {
    return dropped_ + (bytes_.size() > kCapacity ? bytes_.size() - kCapacity : 0);
}

void AnswerBuffer::MarkSend() {
    mark_ = dropped_ + bytes_.size();
}

bool AnswerBuffer::TakeMatch(std::string_view text) {
    const uint64_t from = std::max(mark_, Kept()) - dropped_;
    const size_t found =
        text.empty() ? std::string::npos : bytes_.find(text, static_cast<size_t>(from));
    if (found == std::string::npos) {
        return false;
    }
    mark_ = dropped_ + found + text.size();
    return true;
}
