// [SECTION] Controls and the entries of drop-down lists and list boxes, as real Win32 controls.
// The control ID of each control is its number.
//
// Index: [SECTION] Creating  [SECTION] State  [SECTION] Entries

#include <algorithm>

#include "platform/TextAreaLines.h"
#include "platform/win32/Registry.h"

namespace {

using platform::ControlKind;
using win32::Lock;
using win32::Shared;

// How far a drop-down list opens below its selection field.
constexpr int kDroppedHeight = 240;
constexpr LPARAM kUnlimitedText = 0x7FFFFFFF;

struct ClassAndStyle {
    const char* className;
    DWORD style;
    DWORD exStyle;
};

// The rich edit of Msftedit.dll where there is one, else the older Riched20.dll. Both are
// driven with the wide messages, so that their texts convert the same way.
const char* RichEditClass() {
    static const char* const className = [] {
        if (LoadLibraryA("Msftedit.dll") != nullptr) {
            return "RICHEDIT50W";
        }
        LoadLibraryA("Riched20.dll");
        return "RichEdit20W";
    }();
    return className;
}

ClassAndStyle ClassFor(ControlKind kind) {
    switch (kind) {
        case ControlKind::Text:
            return {"STATIC", SS_LEFT | SS_NOPREFIX, 0};
        case ControlKind::TextCentred:
            return {"STATIC", SS_CENTER | SS_NOPREFIX, 0};
        case ControlKind::TextRight:
            return {"STATIC", SS_RIGHT | SS_NOPREFIX, 0};
        case ControlKind::Button:
            return {"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
        case ControlKind::ImageButton:
            return {"BUTTON", BS_PUSHBUTTON | BS_BITMAP | WS_TABSTOP, 0};
        case ControlKind::Frame:
            return {"BUTTON", BS_GROUPBOX, 0};
        case ControlKind::Container:
            return {win32::kContainerClass, 0, WS_EX_CONTROLPARENT};
        case ControlKind::DropDownList:
            return {"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0};
        case ControlKind::Input:
            return {"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
        case ControlKind::DigitsInput:
            return {"EDIT", ES_AUTOHSCROLL | ES_NUMBER | WS_TABSTOP, WS_EX_CLIENTEDGE};
        case ControlKind::ListBox:
            return {"LISTBOX",
                    LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 0};
        case ControlKind::RichEdit:
            return {RichEditClass(),
                    ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL |
                        WS_HSCROLL | WS_TABSTOP,
                    WS_EX_CLIENTEDGE};
    }
    return {"STATIC", SS_LEFT, 0};
}

struct Parent {
    HWND hwnd = nullptr;
    int window = -1;  // top-level window number
};

Parent FindParent(int parent) {
    const auto lock = Lock();
    auto window = Shared().windows.find(parent);
    if (window != Shared().windows.end()) {
        return {window->second.hwnd, parent};
    }
    auto control = Shared().controls.find(parent);
    if (control != Shared().controls.end()) {
        return {control->second.hwnd, control->second.window};
    }
    return {};
}

// Plain text, every line one paragraph, no wrapping (so that a line of the text is a line of
// the control), no 32 K limit, and the change and selection notifications.
void PrepareRichEdit(HWND edit) {
    SendMessageW(edit, EM_SETTEXTMODE, TM_PLAINTEXT, 0);
    SendMessageW(edit, EM_SETTARGETDEVICE, 0, 1);
    SendMessageW(edit, EM_EXLIMITTEXT, 0, kUnlimitedText);
    SendMessageW(edit, EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE);
}

COLORREF ColourOf(int rgb) {
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

struct ListMessages {
    UINT reset, initStorage, add, count, textLength, text, findExact, setSelection, selection;
};
constexpr ListMessages kComboMessages{CB_RESETCONTENT,    CB_INITSTORAGE,  CB_ADDSTRING,
                                      CB_GETCOUNT,        CB_GETLBTEXTLEN, CB_GETLBTEXT,
                                      CB_FINDSTRINGEXACT, CB_SETCURSEL,    CB_GETCURSEL};
constexpr ListMessages kListBoxMessages{LB_RESETCONTENT,    LB_INITSTORAGE, LB_ADDSTRING,
                                        LB_GETCOUNT,        LB_GETTEXTLEN,  LB_GETTEXT,
                                        LB_FINDSTRINGEXACT, LB_SETCURSEL,   LB_GETCURSEL};

struct List {
    HWND hwnd = nullptr;
    const ListMessages* messages = nullptr;
};

// The control as a list of entries; no handle when it is neither kind.
List ListOf(int control) {
    const auto lock = Lock();
    auto found = Shared().controls.find(control);
    if (found == Shared().controls.end()) {
        return {};
    }
    switch (found->second.kind) {
        case ControlKind::DropDownList:
            return {found->second.hwnd, &kComboMessages};
        case ControlKind::ListBox:
            return {found->second.hwnd, &kListBoxMessages};
        default:
            return {};
    }
}

std::string EntryText(const List& list, int index) {
    const LRESULT length = SendMessageA(list.hwnd, list.messages->textLength, index, 0);
    if (length < 0) {
        return {};
    }
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const LRESULT copied =
        SendMessageA(list.hwnd, list.messages->text, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

std::string WindowText(HWND hwnd) {
    const int length = GetWindowTextLengthA(hwnd);
    if (length <= 0) {
        return {};
    }
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(hwnd, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(copied, 0)));
    return text;
}

// A closed drop-down list is as high as its font makes its selection field, whatever height it
// was created with. The field gets the height less the edges around it; right after creation the
// list's own size is not yet to be trusted, so it is measured only once the field is set.
void FitClosedComboHeight(HWND combo, int height) {
    const int edges = 2 * GetSystemMetrics(SM_CYEDGE);
    if (height - edges <= 0) {
        return;
    }
    SendMessageA(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height - edges);
    RECT outer{};
    GetWindowRect(combo, &outer);
    const int field = height - edges + (height - static_cast<int>(outer.bottom - outer.top));
    if (field > 0 && field != height - edges) {
        SendMessageA(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
    }
}

}  // namespace

namespace platform {

// [SECTION] Creating

bool CreateControl(int control, const ControlSpec& shape) {
    const Parent parent = FindParent(shape.parent);
    if (parent.hwnd == nullptr || win32::ControlHandle(control) != nullptr) {
        return false;
    }
    const ClassAndStyle kind = ClassFor(shape.kind);
    // Siblings overlap (the step frame lies over buttons and a container): each paints only
    // its own part.
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | kind.style;
    const int height =
        shape.kind == ControlKind::DropDownList ? shape.height + kDroppedHeight : shape.height;
    const bool richEdit = shape.kind == ControlKind::RichEdit;
    HWND hwnd = CreateWindowExA(kind.exStyle, kind.className, richEdit ? "" : shape.text.c_str(),
                                style, shape.x, shape.y, shape.width, height, parent.hwnd,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(control)),
                                GetModuleHandleA(nullptr), nullptr);
    if (hwnd == nullptr) {
        return false;
    }
    int font = -1;
    HFONT fontHandle = nullptr;
    HBITMAP image =
        shape.kind == ControlKind::ImageButton ? win32::ImageHandle(shape.image) : nullptr;
    {
        const auto lock = Lock();
        font = Shared().defaultFont;
        auto found = Shared().fonts.find(font);
        fontHandle = found != Shared().fonts.end() ? found->second.handle.get() : nullptr;
        win32::ControlRecord& record = Shared().controls[control];
        record.hwnd = hwnd;
        record.kind = shape.kind;
        record.window = parent.window;
        record.font = fontHandle != nullptr ? font : -1;
        if (shape.background >= 0) {
            record.backgroundColour = ColourOf(shape.background);
            record.background.reset(CreateSolidBrush(record.backgroundColour));
        }
    }
    if (fontHandle != nullptr) {
        SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fontHandle), FALSE);
    }
    if (image != nullptr) {
        SendMessageA(hwnd, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(image));
    }
    if (shape.kind == ControlKind::DropDownList) {
        FitClosedComboHeight(hwnd, shape.height);
    }
    if (richEdit) {
        PrepareRichEdit(hwnd);
        SetWindowTextW(hwnd, win32::Widen(shape.text).c_str());
    }
    // A later control lies over the earlier ones, and a frame beneath all of its siblings, so
    // that the controls inside a frame are drawn over it whatever the creation order.
    SetWindowPos(hwnd, shape.kind == ControlKind::Frame ? HWND_BOTTOM : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return true;
}

bool ControlExists(int control) {
    HWND hwnd = win32::ControlHandle(control);
    return hwnd != nullptr && IsWindow(hwnd);
}

// [SECTION] State

void SetControlText(int control, std::string_view text) {
    HWND hwnd = win32::ControlHandle(control);
    if (hwnd == nullptr) {
        return;
    }
    if (win32::IsRichEdit(control)) {
        SetWindowTextW(hwnd, win32::Widen(text).c_str());
    } else {
        SetWindowTextA(hwnd, std::string(text).c_str());
    }
}

std::string ControlText(int control) {
    if (win32::IsRichEdit(control)) {
        return platform::JoinLines(TextLines(control));
    }
    if (const List list = ListOf(control); list.hwnd != nullptr) {
        const auto selected = SendMessageA(list.hwnd, list.messages->selection, 0, 0);
        return selected >= 0 ? EntryText(list, static_cast<int>(selected)) : std::string();
    }
    HWND hwnd = win32::ControlHandle(control);
    return hwnd != nullptr ? WindowText(hwnd) : std::string();
}

void SetControlEnabled(int control, bool enabled) {
    HWND hwnd = win32::ControlHandle(control);
    if (hwnd == nullptr) {
        return;
    }
    // EnableWindow tells whether the window was disabled before the call.
    const bool wasDisabled = EnableWindow(hwnd, enabled ? TRUE : FALSE) != FALSE;
    if (enabled && wasDisabled) {
        win32::CountEnabling(control);
    }
}

bool IsControlEnabled(int control) {
    HWND hwnd = win32::ControlHandle(control);
    return hwnd != nullptr && ::IsWindowEnabled(hwnd);
}

void SetControlHidden(int control, bool hidden) {
    if (HWND hwnd = win32::ControlHandle(control)) {
        ShowWindow(hwnd, hidden ? SW_HIDE : SW_SHOWNA);
    }
}

void SetControlFont(int control, int font) {
    HWND hwnd = win32::ControlHandle(control);
    HFONT handle = win32::FontHandle(font);
    if (hwnd == nullptr || handle == nullptr) {
        return;
    }
    bool combo = false;
    {
        const auto lock = Lock();
        auto found = Shared().controls.find(control);
        if (found != Shared().controls.end()) {
            found->second.font = font;
            combo = found->second.kind == ControlKind::DropDownList;
        }
    }
    RECT before{};
    GetWindowRect(hwnd, &before);
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(handle), TRUE);
    if (combo) {
        FitClosedComboHeight(hwnd, static_cast<int>(before.bottom - before.top));
    }
}

void FocusControl(int control) {
    HWND hwnd = win32::ControlHandle(control);
    HWND root = hwnd != nullptr ? GetAncestor(hwnd, GA_ROOT) : nullptr;
    if (root != nullptr) {
        SendMessageA(root, win32::kFocusRequest, 0, reinterpret_cast<LPARAM>(hwnd));
    }
}

int FocusedControl() {
    DWORD guiThread = 0;
    {
        const auto lock = Lock();
        guiThread = Shared().guiThread;
    }
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (guiThread == 0 || !GetGUIThreadInfo(guiThread, &info)) {
        return -1;
    }
    const auto identity = win32::IdentifyControl(info.hwndFocus);
    return identity ? identity->number : -1;
}

// [SECTION] Entries

void ClearItems(int control) {
    if (const List list = ListOf(control); list.hwnd != nullptr) {
        SendMessageA(list.hwnd, list.messages->reset, 0, 0);
    }
}

void AddItem(int control, std::string_view text) {
    if (const List list = ListOf(control); list.hwnd != nullptr) {
        const std::string entry(text);
        SendMessageA(list.hwnd, list.messages->add, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
}

// Redrawing is off while the entries go in, and the storage is taken at once: ten thousand
// entries then take a moment, not seconds.
void SetItems(int control, const std::vector<std::string>& texts) {
    const List list = ListOf(control);
    if (list.hwnd == nullptr) {
        return;
    }
    size_t bytes = 0;
    for (const std::string& text : texts) {
        bytes += text.size() + 1;
    }
    SendMessageA(list.hwnd, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list.hwnd, list.messages->reset, 0, 0);
    SendMessageA(list.hwnd, list.messages->initStorage, texts.size(), static_cast<LPARAM>(bytes));
    for (const std::string& text : texts) {
        SendMessageA(list.hwnd, list.messages->add, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SendMessageA(list.hwnd, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list.hwnd, nullptr, TRUE);
}

int ItemCount(int control) {
    const List list = ListOf(control);
    if (list.hwnd == nullptr) {
        return 0;
    }
    return std::max(0, static_cast<int>(SendMessageA(list.hwnd, list.messages->count, 0, 0)));
}

std::string ItemText(int control, int index) {
    const List list = ListOf(control);
    if (list.hwnd == nullptr || index < 0) {
        return {};
    }
    return EntryText(list, index);
}

int FindItemIgnoringCase(int control, std::string_view text) {
    const List list = ListOf(control);
    if (list.hwnd == nullptr) {
        return -1;
    }
    const std::string wanted(text);
    // From -1 the search starts at the first entry and does not wrap round to an earlier one.
    const auto found = SendMessageA(list.hwnd, list.messages->findExact, static_cast<WPARAM>(-1),
                                    reinterpret_cast<LPARAM>(wanted.c_str()));
    if (found < 0) {
        return -1;
    }
    // The control's match must be the whole text, not a prefix of it.
    const std::string entry = EntryText(list, static_cast<int>(found));
    return lstrcmpiA(entry.c_str(), wanted.c_str()) == 0 ? static_cast<int>(found) : -1;
}

void SelectItem(int control, int index) {
    if (const List list = ListOf(control); list.hwnd != nullptr) {
        SendMessageA(list.hwnd, list.messages->setSelection, static_cast<WPARAM>(index), 0);
    }
}

int SelectedItem(int control) {
    const List list = ListOf(control);
    if (list.hwnd == nullptr) {
        return -1;
    }
    const auto selected = SendMessageA(list.hwnd, list.messages->selection, 0, 0);
    return selected >= 0 ? static_cast<int>(selected) : -1;
}

}  // namespace platform
