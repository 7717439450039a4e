// Files: existence, whole-file reads, and writing a file beside a target that then
// replaces it. Every call takes the path through win32::FilePath (UTF-8 to UTF-16, long paths in
// the \\?\ form).

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
    const win32::ScopedHandle file(CreateFileW(win32::FilePath(path).c_str(), access,
                                               FILE_SHARE_READ, nullptr, disposition,
                                               FILE_ATTRIBUTE_NORMAL, nullptr));
    // Opening a port does not block, reading it does: a device or pipe is never read.
    return file.IsValid() && GetFileType(file.Get()) == FILE_TYPE_DISK &&
           ReadAll(file.Get(), bytes);
}

HANDLE OpenForWriting(std::string_view path, DWORD access, DWORD share, DWORD disposition) {
    if (path.empty()) {
        return INVALID_HANDLE_VALUE;
    }
    return CreateFileW(win32::FilePath(path).c_str(), access, share, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

namespace platform {

std::string PathAsText(std::string_view path) {
    return win32::Narrow(win32::WidenPath(path));
}

std::string TextAsPath(std::string_view text) {
    return win32::NarrowPath(win32::Widen(text));
}

std::string FullPath(std::string_view path) {
    if (path.empty()) {
        return {};
    }
    const std::wstring given = win32::WidenPath(path);
    const DWORD size = GetFullPathNameW(given.c_str(), 0, nullptr, nullptr);
    if (size == 0) {
        return {};
    }
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(given.c_str(), size, full.data(), nullptr);
    // A length of `size` or more: the current folder changed between the two calls.
    if (length == 0 || length >= size) {
        return {};
    }
    full.resize(length);
    return win32::NarrowPath(full);
}

bool FileExists(std::string_view path) {
    return !path.empty() &&
           GetFileAttributesW(win32::FilePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
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
    if (IsOpen()) {
        return false;
    }
    HANDLE file = OpenForWriting(path, GENERIC_WRITE, 0, CREATE_NEW);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    handle_ = win32::AsInteger(file);
    return true;
}

bool OutputFile::OpenForAppend(std::string_view path) {
    if (IsOpen()) {
        return false;
    }
    // Write access (not append access alone), so that a failed write can be cut off again; no
    // other writer can open the file meanwhile, so the end is where the last write left it.
    HANDLE file = OpenForWriting(path, GENERIC_WRITE, FILE_SHARE_READ, OPEN_ALWAYS);
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
    HANDLE file = AsHandle(handle_);
    LARGE_INTEGER end{};
    if (!IsOpen() || !SetFilePointerEx(file, LARGE_INTEGER{}, &end, FILE_END)) {
        return false;
    }
    while (!bytes.empty()) {
        const DWORD wanted =
            bytes.size() > kReadChunk ? kReadChunk : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), wanted, &written, nullptr) || written == 0) {
            // A full disk can take part of a write and refuse the rest.
            SetFilePointerEx(file, end, nullptr, FILE_BEGIN);
            SetEndOfFile(file);
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
    return MoveFileExW(win32::FilePath(source).c_str(), win32::FilePath(target).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool RemoveFile(std::string_view path) {
    return !path.empty() && DeleteFileW(win32::FilePath(path).c_str()) != FALSE;
}

}  // namespace platform
