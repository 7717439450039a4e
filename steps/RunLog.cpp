#include "steps/RunLog.h"

#include <cstdio>
#include <mutex>

#include "platform/files.h"
#include "steps/StepFile.h"

namespace {

std::mutex gLogMutex;

// Guarded by gLogMutex. Never destroyed: a run may still write while the process ends, and the
// system closes the file then.
platform::OutputFile& Log() {
    static auto* log = new platform::OutputFile;
    return *log;
}

enum class WriteFailure { None, Unreported, Reported };
WriteFailure gWriteFailure = WriteFailure::None;  // guarded by gLogMutex

void AppendField(std::string& line, std::string_view text) {
    for (char c : text) {
        line += c == '\t' || c == '\r' || c == '\n' ? ' ' : c;
    }
}

}  // namespace

std::string RunLogTime(const platform::LocalTime& time) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", time.year, time.month,
                  time.day, time.hour, time.minute, time.second, time.millisecond);
    return text;
}

std::string RunLogLine(const platform::LocalTime& time, int32_t step, std::string_view type,
                       std::string_view did, std::string_view result) {
    std::string line = RunLogTime(time);
    line += '\t';
    if (step > 0) {
        line += std::to_string(step);
    }
    line += '\t';
    AppendField(line, type);
    line += '\t';
    AppendField(line, did);
    line += '\t';
    AppendField(line, result);
    line += "\r\n";
    return line;
}

bool OpenRunLog(const std::string& path) {
    const std::lock_guard<std::mutex> lock(gLogMutex);
    // A device (COM5, NUL) is no log, and opening a port would toggle its lines.
    return Log().IsOpen() || (!NamesDevice(path) && Log().OpenForAppend(path));
}

void CloseRunLog() {
    const std::lock_guard<std::mutex> lock(gLogMutex);
    Log().Close();
    gWriteFailure = WriteFailure::None;
}

bool RunLogOpen() {
    const std::lock_guard<std::mutex> lock(gLogMutex);
    return Log().IsOpen();
}

void WriteRunLog(int32_t step, std::string_view type, std::string_view did,
                 std::string_view result) {
    const std::lock_guard<std::mutex> lock(gLogMutex);
    if (Log().IsOpen() &&
        !Log().Write(RunLogLine(platform::CurrentLocalTime(), step, type, did, result)) &&
        gWriteFailure == WriteFailure::None) {
        gWriteFailure = WriteFailure::Unreported;
    }
}

bool TakeRunLogWriteFailure() {
    const std::lock_guard<std::mutex> lock(gLogMutex);
    if (gWriteFailure != WriteFailure::Unreported) {
        return false;
    }
    gWriteFailure = WriteFailure::Reported;
    return true;
}
