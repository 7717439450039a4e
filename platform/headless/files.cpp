// An in-memory file system keyed by the exact path text; paths and texts are the same bytes.

#include "platform/files.h"

#include "platform/headless/State.h"

namespace {

using headless_state::FileRecord;
using headless_state::Lock;
using headless_state::Shared;

// What lies at the path; the system opens a device to tell.
FileRecord* Find(std::string_view path) {
    auto found = Shared().files.find(std::string(path));
    if (found == Shared().files.end()) {
        return nullptr;
    }
    if (found->second.device) {
        ++found->second.opens;
    }
    return &found->second;
}

// An ordinary file: neither folder nor device.
FileRecord* FindFile(std::string_view path) {
    FileRecord* record = Find(path);
    return record != nullptr && !record->folder && !record->device ? record : nullptr;
}

// A new file may go where its folder (the text before the last separator) is not read-only.
bool MayCreateIn(std::string_view path) {
    const size_t separator = path.find_last_of("\\/");
    if (separator == std::string_view::npos) {
        return true;
    }
    const FileRecord* folder = Find(path.substr(0, separator));
    return folder == nullptr || !folder->folder || !folder->readOnly;
}

bool CopyBytes(std::string_view path, std::string& bytes) {
    const auto lock = Lock();
    const FileRecord* file = FindFile(path);
    if (file == nullptr) {
        return false;
    }
    bytes = file->bytes;
    return true;
}

bool IsOpenForWriting(std::string_view path) {
    for (const auto& [handle, open] : Shared().openOutputFiles) {
        if (open == path) {
            return true;
        }
    }
    return false;
}

}  // namespace

namespace platform {

std::string PathAsText(std::string_view path) {
    return std::string(path);
}

std::string TextAsPath(std::string_view text) {
    return std::string(text);
}

std::string FullPath(std::string_view path) {
    if (path.empty()) {
        return {};
    }
    const bool fromDrive = path.size() >= 2 && path[1] == ':';
    const bool fromRoot = path[0] == '\\' || path[0] == '/';
    if (fromDrive || fromRoot) {
        return std::string(path);
    }
    const auto lock = Lock();
    return Shared().currentFolder + "\\" + std::string(path);
}

bool FileExists(std::string_view path) {
    const auto lock = Lock();
    return !path.empty() && Find(path) != nullptr;
}

bool ReadWholeFile(std::string_view path, std::string& bytes) {
    return CopyBytes(path, bytes);
}

bool ReadFileForEditing(std::string_view path, std::string& bytes) {
    const auto lock = Lock();
    if (path.empty()) {
        return false;
    }
    if (const FileRecord* existing = Find(path)) {
        if (existing->folder || existing->device || existing->readOnly) {
            return false;
        }
        bytes = existing->bytes;
        return true;
    }
    if (!MayCreateIn(path)) {
        return false;
    }
    Shared().files[std::string(path)] = FileRecord{};
    bytes.clear();
    return true;
}

OutputFile::~OutputFile() {
    Close();
}

bool OutputFile::CreateNew(std::string_view path) {
    const auto lock = Lock();
    if (handle_ != kClosed || path.empty() || Find(path) != nullptr || !MayCreateIn(path)) {
        return false;
    }
    Shared().files[std::string(path)] = FileRecord{};
    handle_ = headless_state::OpenHandle(Shared().openOutputFiles, std::string(path));
    return true;
}

bool OutputFile::OpenForAppend(std::string_view path) {
    const auto lock = Lock();
    if (handle_ != kClosed || path.empty()) {
        return false;
    }
    const FileRecord* existing = Find(path);
    if (existing != nullptr ? FindFile(path) == nullptr || existing->readOnly
                            : !MayCreateIn(path)) {
        return false;
    }
    Shared().files.try_emplace(std::string(path));
    handle_ = headless_state::OpenHandle(Shared().openOutputFiles, std::string(path));
    return true;
}

bool OutputFile::Write(std::string_view bytes) {
    const auto lock = Lock();
    const std::string* path = headless_state::HandleName(Shared().openOutputFiles, handle_);
    FileRecord* file = path != nullptr ? FindFile(*path) : nullptr;
    // A file made read-only while open stands for one the system no longer lets anybody write.
    if (file == nullptr || file->readOnly) {
        return false;
    }
    int64_t& freeBytes = Shared().freeBytes;
    // A negative count stands for unlimited room.
    if (freeBytes >= 0) {
        if (static_cast<int64_t>(bytes.size()) > freeBytes) {
            return false;
        }
        freeBytes -= static_cast<int64_t>(bytes.size());
    }
    file->bytes.append(bytes);
    return true;
}

bool OutputFile::Flush() {
    const auto lock = Lock();
    return headless_state::HandleName(Shared().openOutputFiles, handle_) != nullptr;
}

bool OutputFile::Close() {
    if (handle_ == kClosed) {
        return false;
    }
    const auto lock = Lock();
    const bool wasOpen = Shared().openOutputFiles.erase(handle_) == 1;
    handle_ = kClosed;
    return wasOpen;
}

bool ReplaceFile(std::string_view source, std::string_view target) {
    const auto lock = Lock();
    FileRecord* from = FindFile(source);
    if (from == nullptr || IsOpenForWriting(source) || source == target) {
        return false;
    }
    if (const FileRecord* to = Find(target)) {
        if (to->folder || to->readOnly) {
            return false;
        }
    } else if (!MayCreateIn(target)) {
        return false;
    }
    FileRecord moved = std::move(*from);
    Shared().files.erase(std::string(source));
    Shared().files[std::string(target)] = std::move(moved);
    return true;
}

bool RemoveFile(std::string_view path) {
    const auto lock = Lock();
    const FileRecord* file = FindFile(path);
    if (file == nullptr || file->readOnly || IsOpenForWriting(path)) {
        return false;
    }
    Shared().files.erase(std::string(path));
    return true;
}

}  // namespace platform

namespace headless {

void SetCurrentFolder(const std::string& folder) {
    const auto lock = Lock();
    Shared().currentFolder = folder;
}

void PutFile(const std::string& path, const std::string& bytes) {
    const auto lock = Lock();
    FileRecord& file = Shared().files[path];
    file.folder = false;
    file.bytes = bytes;
}

bool GetFile(const std::string& path, std::string& bytes) {
    return CopyBytes(path, bytes);
}

std::vector<std::string> FilePaths() {
    const auto lock = Lock();
    std::vector<std::string> paths;
    for (const auto& [path, record] : Shared().files) {
        if (!record.folder && !record.device) {
            paths.push_back(path);
        }
    }
    return paths;
}

void PutDevice(const std::string& path, const std::string& bytes) {
    const auto lock = Lock();
    Shared().files[path] = FileRecord{.device = true, .bytes = bytes};
}

int DeviceOpens(const std::string& path) {
    const auto lock = Lock();
    const auto found = Shared().files.find(path);
    return found != Shared().files.end() ? found->second.opens : 0;
}

void MakeFolder(const std::string& path) {
    const auto lock = Lock();
    Shared().files[path] = FileRecord{.folder = true};
}

void SetReadOnly(const std::string& path, bool readOnly) {
    const auto lock = Lock();
    if (FileRecord* record = Find(path)) {
        record->readOnly = readOnly;
    }
}

void SetFreeBytes(int64_t bytes) {
    const auto lock = Lock();
    Shared().freeBytes = bytes;
}

}  // namespace headless
