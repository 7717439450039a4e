// The one way platform/win32 includes the Windows API. Some API names are macros that would
// rename functions of the platform contract (CreateFont, LoadImage, ReplaceFile); this header
// takes them back, and the ANSI or wide function is always named outright.
#pragma once

#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <commdlg.h>
#include <lmcons.h>
#include <mmsystem.h>
#include <objbase.h>
#include <richedit.h>
#include <shellapi.h>
#include <wincodec.h>

#undef CreateFont
#undef LoadImage
#undef ReplaceFile

#include <string>
#include <string_view>

namespace win32 {

// 8-bit text of the system code page to UTF-16 and back.
std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view text);
// A path (UTF-8) to UTF-16 and back.
std::wstring WidenPath(std::string_view path);
std::string NarrowPath(std::wstring_view path);
// A path (UTF-8) for the wide file functions: a long one (MAX_PATH or near it) in the \\?\ form.
std::wstring FilePath(std::string_view path);

}  // namespace win32
