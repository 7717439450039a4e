// Check reporting and command-line options of the test programs.
#include <windows.h>

#include <atomic>
#include <cstdio>

#include "Driver.h"

namespace e2e {

namespace {
std::atomic<int> Passed{0};
std::atomic<int> Failed{0};
}  // namespace

std::string Describe(const std::string& value) {
    return "\"" + value + "\"";
}
std::string Describe(const char* value) {
    return Describe(std::string(value));
}
std::string Describe(bool value) {
    return value ? "true" : "false";
}
std::string Describe(const Box& box) {
    return std::to_string(box.x) + "," + std::to_string(box.y) + " " + std::to_string(box.width) +
           "x" + std::to_string(box.height);
}
std::string Describe(const Point& point) {
    return std::to_string(point.x) + " " + std::to_string(point.y);
}

std::string Numbered(std::string_view what, int number) {
    return std::string(what) + " " + std::to_string(number);
}

bool Check(bool ok, std::string_view name, std::string_view expected, std::string_view seen) {
    if (ok) {
        ++Passed;
        std::printf("PASS %.*s\n", static_cast<int>(name.size()), name.data());
    } else {
        ++Failed;
        std::printf("FAIL %.*s: expected %.*s, saw %.*s\n", static_cast<int>(name.size()),
                    name.data(), static_cast<int>(expected.size()), expected.data(),
                    static_cast<int>(seen.size()), seen.data());
    }
    std::fflush(stdout);
    return ok;
}

void Note(std::string_view text) {
    std::printf("# %.*s\n", static_cast<int>(text.size()), text.data());
    std::fflush(stdout);
}

int Finish() {
    EndProgram();
    std::printf("%d passed, %d failed\n", Passed.load(), Failed.load());
    std::fflush(stdout);
    return Failed.load() != 0 ? 1 : 0;
}

std::string Option(int argc, char** argv, std::string_view name, std::string_view fallback) {
    const std::string prefix = "--" + std::string(name) + "=";
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument.starts_with(prefix)) {
            return std::string(argument.substr(prefix.size()));
        }
    }
    return std::string(fallback);
}

std::string OwnFolder() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

std::string ProgramPath(int argc, char** argv) {
    std::string path = Option(argc, argv, "program");
    if (!path.empty()) {
        return path;
    }
    for (const char* relative : {"Quorvane.exe", "..\\..\\Quorvane.exe"}) {
        path = OwnFolder() + relative;
        if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
            return path;
        }
    }
    return OwnFolder() + "Quorvane.exe";
}

}  // namespace e2e
