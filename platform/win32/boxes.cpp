// Message boxes and the common open and save dialogs.

#include "platform/win32/Registry.h"

namespace {

// A box of a window is modal there. One without owner is kept in front of the always-on-top
// main window, which stays usable meanwhile (the player shows such boxes).
int ShowBox(int owner, std::string_view title, std::string_view text, UINT buttons) {
    HWND ownerWindow = owner >= 0 ? win32::WindowHandle(owner) : nullptr;
    const UINT placement = ownerWindow != nullptr ? 0u : MB_TOPMOST | MB_SETFOREGROUND;
    const std::string caption(title);
    const std::string message(text);
    return MessageBoxA(ownerWindow, message.c_str(), caption.c_str(), buttons | placement);
}

// The active window of ours, so that a dialog stays in front of it.
HWND DialogOwner() {
    HWND active = GetActiveWindow();
    return win32::RootWindowNumber(active) >= 0 ? active : nullptr;
}

using DialogFunction = BOOL(WINAPI*)(LPOPENFILENAMEW);

// The wide dialog, so that any file name can be chosen; the answer is a path (UTF-8). It opens in
// `folder` with `name` in its file name box; with none, where the system chooses, empty.
std::string RunFileDialog(DialogFunction dialog, std::string_view title,
                          const platform::FileFilter& filter, std::string_view folder = {},
                          std::string_view name = {}) {
    // "display\0pattern\0\0"
    std::wstring filterText = win32::Widen(filter.display);
    filterText += L'\0';
    filterText += win32::Widen(filter.pattern);
    filterText += L'\0';
    const std::wstring caption = win32::Widen(title);
    const std::wstring startFolder = win32::WidenPath(folder);
    // Room for long paths.
    std::wstring path = win32::WidenPath(name);
    path.resize(32768, L'\0');

    OPENFILENAMEW dialogSpec{};
    dialogSpec.lStructSize = sizeof(dialogSpec);
    dialogSpec.hwndOwner = DialogOwner();
    dialogSpec.lpstrFilter = filterText.c_str();
    dialogSpec.nFilterIndex = 1;
    dialogSpec.lpstrFile = path.data();
    dialogSpec.nMaxFile = static_cast<DWORD>(path.size());
    dialogSpec.lpstrTitle = caption.c_str();
    dialogSpec.lpstrInitialDir = startFolder.empty() ? nullptr : startFolder.c_str();
    // No overwrite prompt and no must-exist check: the program asks and creates itself. The
    // process's current folder stays where it was.
    dialogSpec.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!dialog(&dialogSpec)) {
        return {};
    }
    path.resize(path.find(L'\0'));
    return win32::NarrowPath(path);
}

}  // namespace

namespace platform {

void MessageBoxOk(int owner, std::string_view title, std::string_view text) {
    ShowBox(owner, title, text, MB_OK);
}

bool MessageBoxYesNo(int owner, std::string_view title, std::string_view text) {
    return ShowBox(owner, title, text, MB_YESNO) == IDYES;
}

std::string OpenFileDialog(std::string_view title, const FileFilter& filter) {
    return RunFileDialog(GetOpenFileNameW, title, filter);
}

std::string SaveFileDialog(std::string_view title, const FileFilter& filter) {
    return RunFileDialog(GetSaveFileNameW, title, filter);
}

std::string SaveFileDialogIn(std::string_view title, const FileFilter& filter,
                             std::string_view folder, std::string_view name) {
    return RunFileDialog(GetSaveFileNameW, title, filter, folder, name);
}

}  // namespace platform
