// Typing under Wine: how many characters per second SendKeys delivers into the target program's
// edit for a text of 2,000 characters, and whether every one of them arrives, in order.
//   usage: typing_wine_bench.exe <Target.exe>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/wine/TargetProgram.h"
#include "player/Player.h"

namespace {

constexpr size_t kLength = 2000;
constexpr double kArrivalTimeoutMs = 120000;

// Letters, digits, blanks and shifted punctuation, no braces (those start key names).
std::string TextToType() {
    const std::string pattern =
        "The quick brown fox jumps over the lazy dog: 0123456789 (1+2)=3, "
        "OK! \"QUOTE\" #$%&*_-;/?<>@^~|'[] ";
    std::string text;
    while (text.size() < kLength) {
        text += pattern;
    }
    text.resize(kLength);
    return text;
}

// The characters of the target's "char <code>" lines from offset on, control characters left out.
std::string TypedSoFar(const std::string& logPath, size_t offset) {
    const std::string log = bench::ReadWholeFile(logPath);
    std::string typed;
    size_t start = offset;
    for (size_t end; (end = log.find('\n', start)) != std::string::npos; start = end + 1) {
        if (log.compare(start, 5, "char ") == 0) {
            const int code = std::atoi(log.c_str() + start + 5);
            if (code >= 32) {
                typed += static_cast<char>(code);
            }
        }
    }
    return typed;
}

size_t FirstDifference(const std::string& expected, const std::string& seen) {
    size_t i = 0;
    while (i < expected.size() && i < seen.size() && expected[i] == seen[i]) {
        ++i;
    }
    return i;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: typing_wine_bench.exe <Target.exe>\n");
        return 2;
    }
    const std::string logPath = bench::TemporaryFile("typing-bench.log");
    if (!bench::StartTargetWithFocusedEdit(argv[1], logPath)) {
        std::printf("the target did not start or its edit did not get the focus\n");
        bench::EndTarget();
        return 1;
    }
    const size_t offset = bench::ReadWholeFile(logPath).size();
    const std::string text = TextToType();
    const double start = bench::NowMs();
    SendKeys(text);
    const double sent = bench::NowMs();
    std::string typed;
    while ((typed = TypedSoFar(logPath, offset)).size() < text.size() &&
           bench::NowMs() - sent < kArrivalTimeoutMs) {
        bench::PollPause();
    }
    const double arrived = bench::NowMs();
    bench::EndTarget();
    const bool complete = typed == text;
    std::printf("SendKeys of %zu characters returned after %.1f ms\n", text.size(), sent - start);
    std::printf("characters arrived: %zu of %zu after %.1f ms\n", typed.size(), text.size(),
                arrived - start);
    std::printf("typing rate: %.0f characters per second\n",
                static_cast<double>(typed.size()) * 1000.0 / (arrived - start));
    if (complete) {
        std::printf("all characters arrived in order\n");
    } else {
        std::printf("first difference at character %zu\n", FirstDifference(text, typed));
    }
    std::remove(logPath.c_str());
    return complete ? 0 : 1;
}
