// Files: existence, whole-file reads, and writing a file beside a target that then
// replaces it.

#include "platform/files.h"

#include "platform/win32/ScopedHandle.h"

namespace {

using win32::AsHandle;

constexpr DWORD kReadChunk = 64 * 1024;

bool ReadAll(HANDLE file, std::string& bytes) {
    std::string read;
    char chunk[kReadChunk];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, chunk, kReadChunk, &got, nullptr)) {
            return false;
        }
        if (got == 0) {
            break;
        }
        read.append(chunk, got);
    }
    bytes = std::move(read);
    return true;
}

bool OpenAndRead(std::string_view path, DWORD access, DWORD disposition, std::string& bytes) {
    if (path.empty()) {
        return false;
    }
    const win32::ScopedHandle file(CreateFileA(std::string(path).c_str(), access, FILE_SHARE_READ,
                                               nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                                               nullptr));
    return file.IsValid() && ReadAll(file.Get(), bytes);
}

}  // namespace

namespace platform {

std::string FullPath(std::string_view path) {
    if (path.empty()) {
        return {};
    }
    const std::string given(path);
    const DWORD size = GetFullPathNameA(given.c_str(), 0, nullptr, nullptr);
    if (size == 0) {
        return {};
    }
    std::string full(size, '\0');
    const DWORD length = GetFullPathNameA(given.c_str(), size, full.data(), nullptr);
    // A length of `size` or more: the current folder changed between the two calls.
    if (length == 0 || length >= size) {
        return {};
    }
    full.resize(length);
    return full;
}

bool FileExists(std::string_view path) {
    return !path.empty() &&
           GetFileAttributesA(std::string(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool ReadWholeFile(std::string_view path, std::string& bytes) {
    return OpenAndRead(path, GENERIC_READ, OPEN_EXISTING, bytes);
}

bool ReadFileForEditing(std::string_view path, std::string& bytes) {
    return OpenAndRead(path, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS, bytes);
}

OutputFile::~OutputFile() {
    Close();
}

bool OutputFile::CreateNew(std::string_view path) {
    if (IsOpen() || path.empty()) {
        return false;
    }
    HANDLE file = CreateFileA(std::string(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    handle_ = win32::AsInteger(file);
    return true;
}

bool OutputFile::OpenForAppend(std::string_view path) {
    if (IsOpen() || path.empty()) {
        return false;
    }
    HANDLE file = CreateFileA(std::string(path).c_str(), FILE_APPEND_DATA,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    // A name such as COM5 or NUL opens a device, which is no log.
    if (GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        return false;
    }
    handle_ = win32::AsInteger(file);
    return true;
}

bool OutputFile::Write(std::string_view bytes) {
    if (!IsOpen()) {
        return false;
    }
    while (!bytes.empty()) {
        const DWORD wanted =
            bytes.size() > kReadChunk ? kReadChunk : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(AsHandle(handle_), bytes.data(), wanted, &written, nullptr) ||
            written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

bool OutputFile::Flush() {
    return IsOpen() && FlushFileBuffers(AsHandle(handle_));
}

bool OutputFile::Close() {
    if (!IsOpen()) {
        return true;
    }
    const bool closed = CloseHandle(AsHandle(handle_)) != FALSE;
    handle_ = kClosed;
    return closed;
}

bool ReplaceFile(std::string_view source, std::string_view target) {
    return MoveFileExA(std::string(source).c_str(), std::string(target).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool RemoveFile(std::string_view path) {
    return !path.empty() && DeleteFileA(std::string(path).c_str()) != FALSE;
}

}  // namespace platform
