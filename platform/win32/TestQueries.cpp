// Test-only answers: the registered window messages of TestQueries.h, by which an outside test
// driver reads what Wine cannot read across processes. Nothing in the program sends them.

#include "platform/win32/TestQueries.h"

#include "platform/win32/Registry.h"

namespace {

LRESULT AnswerFontInfo(int control) {
    const auto lock = win32::Lock();
    auto found = win32::Shared().controls.find(control);
    if (found == win32::Shared().controls.end()) {
        return -1;
    }
    auto font = win32::Shared().fonts.find(found->second.font);
    if (font == win32::Shared().fonts.end()) {
        return 0;
    }
    return MAKELONG(font->second.points, font->second.bold ? 1 : 0);
}

LRESULT AnswerEnableCount(int control) {
    const auto lock = win32::Lock();
    auto found = win32::Shared().controls.find(control);
    return found == win32::Shared().controls.end() ? -1 : found->second.timesEnabled;
}

}  // namespace

namespace win32 {

bool AnswerTestQuery(UINT message, WPARAM wParam, LRESULT& answer) {
    static const UINT menuState = RegisterWindowMessageW(MenuStateQuery);
    static const UINT fontInfo = RegisterWindowMessageW(FontInfoQuery);
    static const UINT enableCount = RegisterWindowMessageW(EnableCountQuery);
    if (message == menuState) {
        answer = MenuItemState(static_cast<int>(wParam));
        return true;
    }
    if (message == fontInfo) {
        answer = AnswerFontInfo(static_cast<int>(wParam));
        return true;
    }
    if (message == enableCount) {
        answer = AnswerEnableCount(static_cast<int>(wParam));
        return true;
    }
    return false;
}

}  // namespace win32
