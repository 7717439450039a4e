// [SECTION] Controls, list entries and text areas of the headless window system.

#include <algorithm>
#include <string>

#include "platform/TextAreaLines.h"
#include "platform/headless/State.h"

namespace {

using headless_state::ControlRecord;
using headless_state::Lock;
using headless_state::Shared;
using platform::ControlKind;

// Deeper nesting than this can only be a parent cycle.
constexpr int kMaxNesting = 64;

ControlRecord* Find(int control) {
    auto found = Shared().controls.find(control);
    return found != Shared().controls.end() ? &found->second : nullptr;
}

bool IsList(const headless::ControlState& state) {
    return state.kind == ControlKind::DropDownList || state.kind == ControlKind::ListBox;
}

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

void IndexEntry(ControlRecord& record, int index) {
    const auto& text = record.state.items[static_cast<size_t>(index)];
    record.firstIndexByLowerText.emplace(LowerAscii(text), index);
}

void RebuildIndex(ControlRecord& record) {
    record.firstIndexByLowerText.clear();
    record.firstIndexByLowerText.reserve(record.state.items.size());
    for (size_t index = 0; index < record.state.items.size(); ++index) {
        IndexEntry(record, static_cast<int>(index));
    }
}

// Splits at CR LF, LF or CR; an empty text is one empty line.
std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines(1);
    for (size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && at + 1 < text.size() && text[at + 1] == '\n') {
                ++at;
            }
            lines.emplace_back();
        } else {
            lines.back() += c;
        }
    }
    return lines;
}

// A text area keeps only its lines (so that one line is replaced in place); its text is made
// from them when asked for.
void SetLines(headless::ControlState& state, std::vector<std::string> lines) {
    if (lines.empty()) {
        lines.emplace_back();
    }
    state.lines = std::move(lines);
    state.caretLine = 0;
}

void SetText(headless::ControlState& state, std::string_view text) {
    if (state.kind == ControlKind::RichEdit) {
        SetLines(state, SplitLines(text));
    } else {
        state.text = text;
    }
}

std::string TextOf(const headless::ControlState& state) {
    return state.kind == ControlKind::RichEdit ? platform::JoinLines(state.lines) : state.text;
}

int LineCount(const headless::ControlState& state) {
    return state.kind == ControlKind::RichEdit ? static_cast<int>(state.lines.size())
                                               : static_cast<int>(SplitLines(state.text).size());
}

void ReplaceOrAppendLine(std::vector<std::string>& lines, int line, std::string_view text) {
    if (static_cast<size_t>(line) < lines.size()) {
        lines[static_cast<size_t>(line)] = text;
    } else {
        lines.emplace_back(text);
    }
}

bool IsParentAvailable(int parent) {
    if (Find(parent) != nullptr) {
        return true;
    }
    auto window = Shared().windows.find(parent);
    return window != Shared().windows.end() && window->second.open;
}

int ValidIndexOrNone(const headless::ControlState& state, int index) {
    return index >= 0 && static_cast<size_t>(index) < state.items.size() ? index : -1;
}

}  // namespace

namespace platform {

bool CreateControl(int control, const ControlSpec& shape) {
    const auto lock = Lock();
    headless_state::NoteCaller("CreateControl");
    if (Find(control) != nullptr || !IsParentAvailable(shape.parent)) {
        return false;
    }
    ControlRecord record;
    headless::ControlState& state = record.state;
    state.exists = true;
    state.kind = shape.kind;
    state.parent = shape.parent;
    state.x = shape.x;
    state.y = shape.y;
    state.width = shape.width;
    state.height = shape.height;
    state.font = Shared().defaultFont;
    state.image = shape.image;
    SetText(state, shape.text);
    Shared().controls.emplace(control, std::move(record));
    return true;
}

bool ControlExists(int control) {
    const auto lock = Lock();
    return Find(control) != nullptr;
}

void SetControlText(int control, std::string_view text) {
    const auto lock = Lock();
    headless_state::NoteCaller("SetControlText");
    if (ControlRecord* record = Find(control)) {
        SetText(record->state, text);
    }
}

std::string ControlText(int control) {
    const auto lock = Lock();
    const ControlRecord* record = Find(control);
    if (record == nullptr) {
        return {};
    }
    const headless::ControlState& state = record->state;
    if (IsList(state)) {
        return state.selected >= 0 ? state.items[static_cast<size_t>(state.selected)] : "";
    }
    return TextOf(state);
}

void SetControlEnabled(int control, bool enabled) {
    const auto lock = Lock();
    headless_state::NoteCaller("SetControlEnabled");
    if (ControlRecord* record = Find(control)) {
        record->state.enabled = enabled;
    }
}

bool IsControlEnabled(int control) {
    const auto lock = Lock();
    const ControlRecord* record = Find(control);
    return record != nullptr && record->state.enabled;
}

void SetControlHidden(int control, bool hidden) {
    const auto lock = Lock();
    headless_state::NoteCaller("SetControlHidden");
    if (ControlRecord* record = Find(control)) {
        record->state.hidden = hidden;
    }
}

void SetControlFont(int control, int font) {
    const auto lock = Lock();
    if (ControlRecord* record = Find(control)) {
        record->state.font = font;
    }
}

void FocusControl(int control) {
    const auto lock = Lock();
    headless_state::NoteCaller("FocusControl");
    if (Find(control) != nullptr) {
        Shared().focusedControl = control;
    }
}

int FocusedControl() {
    const auto lock = Lock();
    return Shared().focusedControl;
}

// [SECTION] Entries

void ClearItems(int control) {
    const auto lock = Lock();
    headless_state::NoteCaller("ClearItems");
    if (ControlRecord* record = Find(control)) {
        record->state.items.clear();
        record->state.selected = -1;
        record->firstIndexByLowerText.clear();
    }
}

void AddItem(int control, std::string_view text) {
    const auto lock = Lock();
    headless_state::NoteCaller("AddItem");
    if (ControlRecord* record = Find(control)) {
        record->state.items.emplace_back(text);
        IndexEntry(*record, static_cast<int>(record->state.items.size() - 1));
    }
}

void SetItems(int control, const std::vector<std::string>& texts) {
    const auto lock = Lock();
    headless_state::NoteCaller("SetItems");
    if (ControlRecord* record = Find(control)) {
        record->state.items = texts;
        record->state.selected = -1;
        RebuildIndex(*record);
    }
}

int ItemCount(int control) {
    const auto lock = Lock();
    const ControlRecord* record = Find(control);
    return record != nullptr ? static_cast<int>(record->state.items.size()) : 0;
}

std::string ItemText(int control, int index) {
    const auto lock = Lock();
    const ControlRecord* record = Find(control);
    if (record == nullptr || ValidIndexOrNone(record->state, index) < 0) {
        return {};
    }
    return record->state.items[static_cast<size_t>(index)];
}

int FindItemIgnoringCase(int control, std::string_view text) {
    const auto lock = Lock();
    const ControlRecord* record = Find(control);
    if (record == nullptr) {
        return -1;
    }
    auto found = record->firstIndexByLowerText.find(LowerAscii(text));
    return found != record->firstIndexByLowerText.end() ? found->second : -1;
}

void SelectItem(int control, int index) {
    const auto lock = Lock();
    headless_state::NoteCaller("SelectItem");
    if (ControlRecord* record = Find(control)) {
        record->state.selected = ValidIndexOrNone(record->state, index);
    }
}

int SelectedItem(int control) {
    const auto lock = Lock();
    const ControlRecord* record = Find(control);
    return record != nullptr ? record->state.selected : -1;
}

// [SECTION] Text areas

std::vector<std::string> TextLines(int control) {
    const auto lock = Lock();
    const ControlRecord* record = Find(control);
    if (record == nullptr) {
        return {};
    }
    if (record->state.kind == ControlKind::RichEdit) {
        return record->state.lines;
    }
    return SplitLines(record->state.text);
}

std::string TextLineStart(int control, int line, int characters) {
    const std::vector<std::string> lines = TextLines(control);
    if (line < 0 || line >= static_cast<int>(lines.size()) || characters <= 0) {
        return {};
    }
    return lines[static_cast<size_t>(line)].substr(0, static_cast<size_t>(characters));
}

int TextLineCount(int control) {
    return static_cast<int>(TextLines(control).size());
}

void SetTextLines(int control, const std::vector<std::string>& lines) {
    const auto lock = Lock();
    headless_state::NoteCaller("SetTextLines");
    ControlRecord* record = Find(control);
    if (record == nullptr) {
        return;
    }
    if (record->state.kind == ControlKind::RichEdit) {
        SetLines(record->state, lines);
    } else {
        SetText(record->state, platform::JoinLines(lines));
    }
}

void SetTextLine(int control, int line, std::string_view text) {
    const auto lock = Lock();
    headless_state::NoteCaller("SetTextLine");
    ControlRecord* record = Find(control);
    if (record == nullptr || line < 0) {
        return;
    }
    headless::ControlState& state = record->state;
    if (state.kind == ControlKind::RichEdit) {
        ReplaceOrAppendLine(state.lines, line, text);
    } else {
        std::vector<std::string> lines = SplitLines(state.text);
        ReplaceOrAppendLine(lines, line, text);
        state.text = platform::JoinLines(lines);
    }
}

int SelectionStartLine(int control) {
    const auto lock = Lock();
    const ControlRecord* record = Find(control);
    return record != nullptr ? record->state.caretLine : -1;
}

}  // namespace platform

namespace headless {

ControlState Control(int control) {
    const auto lock = Lock();
    const ControlRecord* record = Find(control);
    if (record == nullptr) {
        return {};
    }
    ControlState state = record->state;
    state.text = TextOf(state);
    return state;
}

bool IsControlVisible(int control) {
    const auto lock = Lock();
    int number = control;
    for (int depth = 0; depth < kMaxNesting; ++depth) {
        if (const ControlRecord* record = Find(number)) {
            if (record->state.hidden) {
                return false;
            }
            number = record->state.parent;
            continue;
        }
        // The top of the chain must be an open window, and a control is needed below it.
        auto window = Shared().windows.find(number);
        return depth > 0 && window != Shared().windows.end() && window->second.open;
    }
    return false;
}

void UserTypes(int control, const std::string& text) {
    const auto lock = Lock();
    ControlRecord* record = Find(control);
    if (record == nullptr) {
        return;
    }
    if (record->state.kind != ControlKind::DigitsInput) {
        SetText(record->state, text);
        return;
    }
    std::string digits;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            digits += c;
        }
    }
    record->state.text = digits;
}

void UserSelects(int control, int index) {
    const auto lock = Lock();
    if (ControlRecord* record = Find(control)) {
        record->state.selected = ValidIndexOrNone(record->state, index);
    }
}

void UserMovesCaret(int control, int line) {
    const auto lock = Lock();
    if (ControlRecord* record = Find(control)) {
        record->state.caretLine = std::clamp(line, 0, LineCount(record->state) - 1);
    }
}

void UserFocuses(int control) {
    const auto lock = Lock();
    if (Find(control) != nullptr) {
        Shared().focusedControl = control;
    }
}

}  // namespace headless
