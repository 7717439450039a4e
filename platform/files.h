// Files: existence, whole-file reads, and the primitives of a safe replace (write a file beside
// the target, flush it, move it over the target).
//
// Implemented by platform/win32/files.cpp and platform/headless/files.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// The full path of `path`, a relative one taken from the current folder (GetFullPathNameA); ""
// when there is none.
std::string FullPath(std::string_view path);
// True unless nothing exists at the path; a folder counts as existing. "" never exists.
bool FileExists(std::string_view path);
// Opens the file for reading and reads it whole. False when it cannot be opened or read.
bool ReadWholeFile(std::string_view path, std::string& bytes);
// Opens the file for reading and writing (creating it empty when missing) and reads it whole.
// False when it cannot be opened that way (read-only file, folder, locked file).
bool ReadFileForEditing(std::string_view path, std::string& bytes);

// A file being written; removes nothing by itself, closes when it goes out of scope.
class OutputFile {
public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Creates a new file; fails if one of that name exists already.
    bool CreateNew(std::string_view path);
    // Opens a file for adding to its end, creating it when missing; others may read it meanwhile.
    // Every Write reaches the system at once, so what was written survives a killed process.
    bool OpenForAppend(std::string_view path);
    bool IsOpen() const { return handle_ != kClosed; }
    // False when not every byte was written (full disk, lost drive).
    bool Write(std::string_view bytes);
    // Flushes the written bytes to the device.
    bool Flush();
    // False when closing reported an error.
    bool Close();

private:
    static constexpr intptr_t kClosed = -1;
    intptr_t handle_ = kClosed;
};

// Moves `source` over `target`, replacing it, as one step. False when it failed; the target is
// then as it was.
bool ReplaceFile(std::string_view source, std::string_view target);
bool RemoveFile(std::string_view path);

}  // namespace platform
