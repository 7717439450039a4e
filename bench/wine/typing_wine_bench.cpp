// Typing under Wine: how many characters per second SendKeys delivers into the target program's
// edit for a text of 2,000 characters, and whether every one of them arrives, in order.
//   usage: typing_wine_bench.exe <Target.exe>
#include <cstdio>
#include <string>

#include "Driver.h"
#include "player/Player.h"
#include "player/PlayerInternal.h"

namespace {

constexpr size_t kLength = 2000;
constexpr int kArrivalTimeoutMs = 120000;

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
    e2e::TargetProgram target;
    const std::string logPath = e2e::ScratchFolder() + "typing-bench.log";
    if (!e2e::StartTarget(argv[1], logPath, target) || !e2e::FocusTargetEdit(target)) {
        std::printf("the target did not start or its edit did not get the focus\n");
        return 1;
    }
    const size_t offset = e2e::TargetLogSize(target);
    const std::string text = TextToType();
    const double start = e2e::NowMs();
    SendKeys(text);
    const double sent = e2e::NowMs();
    std::string typed;
    e2e::WaitUntil(
        [&] { return (typed = e2e::TypedCharacters(target, offset)).size() >= text.size(); },
        kArrivalTimeoutMs);
    const double arrived = e2e::NowMs();
    target.process.End();
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
