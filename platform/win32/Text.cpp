// Conversions between the program's 8-bit texts and UTF-16: texts are in the system code page,
// paths in UTF-8.

#include "platform/win32/WinApi.h"

namespace {

std::wstring ToWide(UINT codePage, std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int wide = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    std::wstring result(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), size, result.data(), wide);
    return result;
}

std::string FromWide(UINT codePage, std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int narrow =
        WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(narrow), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), size, result.data(), narrow, nullptr, nullptr);
    return result;
}

// Below this length every file function takes a path as it is; CreateDirectoryW stops at
// MAX_PATH - 12 already.
constexpr size_t kLongPath = MAX_PATH - 12;

bool StartsWith(std::wstring_view text, std::wstring_view start) {
    return text.substr(0, start.size()) == start;
}

}  // namespace

namespace win32 {

std::wstring Widen(std::string_view text) {
    return ToWide(CP_ACP, text);
}

std::string Narrow(std::wstring_view text) {
    return FromWide(CP_ACP, text);
}

std::wstring WidenPath(std::string_view path) {
    return ToWide(CP_UTF8, path);
}

std::string NarrowPath(std::wstring_view path) {
    return FromWide(CP_UTF8, path);
}

std::wstring FilePath(std::string_view path) {
    std::wstring wide = WidenPath(path);
    if (wide.size() < kLongPath || StartsWith(wide, L"\\\\?\\") || StartsWith(wide, L"\\\\.\\")) {
        return wide;
    }
    // The \\?\ form is passed on untouched: it needs the full path, backslashes only and no
    // "." or ".." parts, which GetFullPathNameW gives.
    const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    std::wstring full(size, L'\0');
    const DWORD length = size == 0 ? 0 : GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) {
        return wide;
    }
    full.resize(length);
    if (full.size() > 2 && full[1] == L':') {
        return L"\\\\?\\" + full;
    }
    if (StartsWith(full, L"\\\\")) {
        return L"\\\\?\\UNC\\" + full.substr(2);
    }
    return wide;
}

}  // namespace win32
