// Conversions between the driver's UTF-8 texts and the wide texts of the W calls (driver only).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace e2e {

inline std::wstring Wide(std::string_view text) {
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
    return wide;
}

// A full path for the wide file functions; a long one in the \\?\ form, which they need for it.
inline std::wstring WidePath(std::string_view path) {
    const std::wstring wide = Wide(path);
    return wide.size() < MAX_PATH - 12 || wide.starts_with(L"\\\\") ? wide : L"\\\\?\\" + wide;
}

inline std::string Narrow(std::wstring_view text) {
    const int size = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, narrow.data(), length, nullptr, nullptr);
    return narrow;
}

}  // namespace e2e
