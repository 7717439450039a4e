// Files: existence, whole-file reads, and the primitives of a safe replace (write a file beside
// the target, flush it, move it over the target).
//
// Paths are UTF-8, so that any file name works; texts (what boxes, controls and step files hold)
// are in the system code page. PathAsText and TextAsPath convert between the two. Long paths
// (260 characters and more) work wherever a path is taken.
//
// Implemented by platform/win32/files.cpp and platform/headless/files.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// The path as a text of the system code page, to show or to store in a step file; a character
// the code page cannot hold becomes '?'.
std::string PathAsText(std::string_view path);
// A path held as a text of the system code page (typed into a control, read from a step file).
std::string TextAsPath(std::string_view text);

// The full path of `path`, a relative one taken from the current folder (GetFullPathNameW); ""
// when there is none.
std::string FullPath(std::string_view path);
// True unless nothing exists at the path; a folder counts as existing. "" never exists.
bool FileExists(std::string_view path);
// The two reads below take only ordinary files: a path the system opens as a device (a port,
// "NUL", "com5.stp") or a pipe is refused without being read, so it cannot block.
//
// Opens the file for reading and reads it whole. False when it cannot be opened or read.
bool ReadWholeFile(std::string_view path, std::string& bytes);
// Opens the file for reading and writing (creating it empty when missing) and reads it whole.
// False when it cannot be opened that way (read-only file, folder, locked file, device).
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
    // Opens a file for appending, creating it when missing; others may read it meanwhile, nobody
    // else may write it. Each Write lands at its end and is in the file when Write returns (a
    // killed process loses nothing written).
    bool OpenForAppend(std::string_view path);
    bool IsOpen() const { return handle_ != kClosed; }
    // Writes all of the bytes at the end of the file, or none: false when not every byte could be
    // written (full disk, a file made unwritable, lost drive), and the file is then cut back to
    // where it ended before, so it never ends in a part of them.
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
