// The test's own files, read and written with the share modes a test needs, and paths between
// Windows and Unix.
#include <windows.h>

#include "Driver.h"
#include "WideText.h"

namespace e2e {

namespace {

struct FileHandle {
    HANDLE handle;
    ~FileHandle() {
        if (handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
        }
    }
};

}  // namespace

std::string ReadWholeFile(const std::string& path) {
    FileHandle file{CreateFileW(WidePath(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr)};
    std::string content;
    char buffer[65536];
    DWORD got = 0;
    while (file.handle != INVALID_HANDLE_VALUE &&
           ReadFile(file.handle, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
        content.append(buffer, got);
    }
    return content;
}

bool WriteWholeFile(const std::string& path, std::string_view bytes) {
    FileHandle file{
        CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr)};
    DWORD written = 0;
    return file.handle != INVALID_HANDLE_VALUE &&
           WriteFile(file.handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
           written == bytes.size();
}

bool MakeFolder(const std::string& path) {
    return CreateDirectoryW(WidePath(path).c_str(), nullptr) ||
           GetLastError() == ERROR_ALREADY_EXISTS;
}

std::string ScratchFolder() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    // Wine hands out process ids again from one run to the next: a folder named after the id
    // alone can hold the files of an earlier run (a picture that makes the next free name
    // "image2.png"). A folder that CreateDirectory makes now is empty.
    const std::wstring stem =
        std::wstring(temp) + L"quorvane-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-";
    for (int attempt = 1;; ++attempt) {
        const std::wstring folder = stem + std::to_wstring(attempt) + L"\\";
        if (CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() != ERROR_ALREADY_EXISTS) {
            return Narrow(folder);
        }
    }
}

std::string WindowsPathOf(std::string_view unixPath) {
    std::string path = "Z:" + std::string(unixPath);
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

std::string LoggedOnUser() {
    wchar_t name[256] = {};
    DWORD size = 256;
    if (!GetUserNameW(name, &size) || size == 0) {
        return "";
    }
    return Narrow(std::wstring_view(name, size - 1));
}

HeldFile::HeldFile(const std::string& path)
    : handle_(CreateFileW(Wide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr)) {}

HeldFile::~HeldFile() {
    if (IsHeld()) {
        CloseHandle(handle_);
    }
}

bool HeldFile::IsHeld() const {
    return handle_ != INVALID_HANDLE_VALUE;
}

}  // namespace e2e
