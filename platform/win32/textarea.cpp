// Multi-line text areas: the rich edit read and written line by line. The control is
// driven with the wide messages and every text converted through the system code page.

#include <algorithm>

#include "platform/TextAreaLines.h"
#include "platform/win32/Registry.h"

namespace {

HWND RichEditHandle(int control) {
    const auto lock = win32::Lock();
    auto found = win32::Shared().controls.find(control);
    if (found == win32::Shared().controls.end() ||
        found->second.kind != platform::ControlKind::RichEdit) {
        return nullptr;
    }
    return found->second.hwnd;
}

int LineCount(HWND edit) {
    return static_cast<int>(SendMessageW(edit, EM_GETLINECOUNT, 0, 0));
}

struct LineRange {
    int start = 0;
    int length = 0;
};

LineRange RangeOf(HWND edit, int line) {
    const auto start = static_cast<int>(SendMessageW(edit, EM_LINEINDEX, line, 0));
    const auto length = static_cast<int>(SendMessageW(edit, EM_LINELENGTH, start, 0));
    return {start, length};
}

std::string LineText(HWND edit, int line) {
    const LineRange range = RangeOf(edit, line);
    if (range.start < 0 || range.length <= 0) {
        return {};
    }
    // EM_GETLINE takes the buffer size in its first character.
    std::wstring buffer(static_cast<size_t>(range.length) + 2, L'\0');
    buffer[0] = static_cast<wchar_t>(buffer.size());
    const auto copied = static_cast<int>(
        SendMessageW(edit, EM_GETLINE, line, reinterpret_cast<LPARAM>(buffer.data())));
    buffer.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    while (!buffer.empty() && (buffer.back() == L'\r' || buffer.back() == L'\n')) {
        buffer.pop_back();
    }
    return win32::Narrow(buffer);
}

void ReplaceRange(HWND edit, int start, int end, std::string_view text) {
    SendMessageW(edit, EM_SETSEL, start, end);
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(win32::Widen(text).c_str()));
}

}  // namespace

namespace win32 {

bool IsRichEdit(int control) {
    return RichEditHandle(control) != nullptr;
}

}  // namespace win32

namespace platform {

std::vector<std::string> TextLines(int control) {
    HWND edit = RichEditHandle(control);
    if (edit == nullptr) {
        return {};
    }
    std::vector<std::string> lines;
    const int count = LineCount(edit);
    lines.reserve(static_cast<size_t>(count > 0 ? count : 1));
    for (int line = 0; line < count; ++line) {
        lines.push_back(LineText(edit, line));
    }
    if (lines.empty()) {
        lines.emplace_back();
    }
    return lines;
}

std::string TextLineStart(int control, int line, int characters) {
    HWND edit = RichEditHandle(control);
    if (edit == nullptr || line < 0 || characters <= 0) {
        return {};
    }
    // One message: a rich edit may walk its lines from the top for each line it looks up, so
    // the line's start and length are not asked for first.
    std::wstring buffer(static_cast<size_t>(characters) + 1, L'\0');
    buffer[0] = static_cast<wchar_t>(characters);
    const auto copied = static_cast<int>(SendMessageW(edit, EM_GETLINE, static_cast<WPARAM>(line),
                                                      reinterpret_cast<LPARAM>(buffer.data())));
    buffer.resize(static_cast<size_t>(std::clamp(copied, 0, characters)));
    while (!buffer.empty() && (buffer.back() == L'\r' || buffer.back() == L'\n')) {
        buffer.pop_back();
    }
    return win32::Narrow(buffer);
}

int TextLineCount(int control) {
    HWND edit = RichEditHandle(control);
    return edit != nullptr ? LineCount(edit) : 0;
}

void SetTextLines(int control, const std::vector<std::string>& lines) {
    if (HWND edit = RichEditHandle(control)) {
        SetWindowTextW(edit, win32::Widen(platform::JoinLines(lines)).c_str());
    }
}

void SetTextLine(int control, int line, std::string_view text) {
    HWND edit = RichEditHandle(control);
    if (edit == nullptr || line < 0) {
        return;
    }
    const int count = LineCount(edit);
    if (line < count) {
        const LineRange range = RangeOf(edit, line);
        ReplaceRange(edit, range.start, range.start + range.length, text);
        return;
    }
    const LineRange last = RangeOf(edit, count - 1);
    const int end = last.start + last.length;
    std::string appended = "\r";
    appended += text;
    ReplaceRange(edit, end, end, appended);
}

int SelectionStartLine(int control) {
    HWND edit = RichEditHandle(control);
    if (edit == nullptr) {
        return -1;
    }
    CHARRANGE selection{};
    SendMessageW(edit, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    return static_cast<int>(SendMessageW(edit, EM_EXLINEFROMCHAR, 0, selection.cpMin));
}

}  // namespace platform
