// Writing step files: the bytes of the whole list, and safe writing, by which a failed save
// never costs the file that was there before.

#include <cctype>
#include <string>
#include <string_view>

#include "platform/files.h"
#include "steps/Document.h"
#include "steps/Numbers.h"
#include "steps/RList.h"
#include "steps/StepFile.h"

namespace {

// A stale temporary file of an earlier crash may be in the way; try a few more names.
constexpr int kTemporaryNames = 16;

std::string TemporaryName(const std::string& path, int attempt) {
    std::string name = path + ".~tmp";
    if (attempt > 0) {
        name += std::to_string(attempt);
    }
    return name;
}

// Creates a new file beside path; "" when none could be created.
std::string CreateTemporary(const std::string& path, platform::OutputFile& file) {
    for (int attempt = 0; attempt < kTemporaryNames; ++attempt) {
        const std::string name = TemporaryName(path, attempt);
        if (file.CreateNew(name)) {
            return name;
        }
        if (!platform::FileExists(name)) {
            return "";  // the folder takes no new file: no other name will do better
        }
    }
    return "";
}

}  // namespace

WriteResult WriteFileSafely(const std::string& path, std::string_view bytes) {
    platform::OutputFile file;
    const std::string temporary = CreateTemporary(path, file);
    if (temporary.empty()) {
        return WriteResult::CannotCreate;
    }
    const bool written = file.Write(bytes) && file.Flush();
    const bool closed = file.Close();
    if (!written || !closed) {
        platform::RemoveFile(temporary);
        return WriteResult::WriteFailed;
    }
    // A read-only target or a folder of that name refuses the replace.
    if (!platform::ReplaceFile(temporary, path)) {
        platform::RemoveFile(temporary);
        return WriteResult::CannotCreate;
    }
    return WriteResult::Written;
}

bool NamesDevice(std::string_view path) {
    static constexpr std::string_view kDevices[] = {"CON", "PRN",    "AUX",
                                                    "NUL", "CONIN$", "CONOUT$"};
    if (path.starts_with("\\\\.\\") || path.starts_with("//./")) {
        return true;
    }
    // The name after the folder (or drive), up to its first dot, without trailing blanks.
    std::string_view name = path.substr(path.find_last_of("\\/:") + 1);
    name = name.substr(0, name.find('.'));
    while (name.ends_with(' ')) {
        name.remove_suffix(1);
    }
    std::string upper(name);
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    for (std::string_view device : kDevices) {
        if (upper == device) {
            return true;
        }
    }
    return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) &&
           std::isdigit(static_cast<unsigned char>(upper[3]));
}

std::string StepFileBytes(std::vector<int32_t>& unknownTypes) {
    static constexpr std::string_view kLineEnd = "\r\n";
    std::string bytes;
    bytes.reserve(64 + static_cast<size_t>(RList.Count()) * 32);
    for (const std::string& header : {StepFileTitle, UserDateLine(), FileInformation}) {
        bytes += header;
        bytes += kLineEnd;
    }
    std::string line;
    for (const StepRecord& step : RList.Elements()) {
        if (!FormatStepLine(step, line)) {
            unknownTypes.push_back(step.RECORDtype);
        }
        bytes += line;
        bytes += kLineEnd;
    }
    return bytes;
}

std::string WithStepExtension(std::string path) {
    if (!path.ends_with(".stp")) {
        path += ".stp";
    }
    return path;
}
