// Registered window messages that let an outside test driver ask Quorvane's windows what Wine
// cannot read across processes (menu item states, the fonts of controls) or what may have come
// and gone between two looks. Every top-level window of the program answers each of them;
// nothing in the program itself sends them.
//
//   MenuStateQuery, wParam = menu item number:
//       1 when enabled, plus 2 when checked; 0 disabled and unchecked; -1 no such item.
//   FontInfoQuery, wParam = control number:
//       MAKELONG(points, bold ? 1 : 0) of the font the program gave the control,
//       0 when the control has no font of the program's, -1 when there is no such control.
//   EnableCountQuery, wParam = control number:
//       how often the program has enabled the control after it was disabled, -1 when there is no
//       such control. A driver that reads it before an action sees whether the control was
//       enabled since, however briefly.
//
// Register them with RegisterWindowMessageW (or the "A" form with the same name).
// Kept free of other project headers so that a driver can include it alone.
#pragma once

inline constexpr wchar_t MenuStateQuery[] = L"QuorvaneMenuState";
inline constexpr wchar_t FontInfoQuery[] = L"QuorvaneFontInfo";
inline constexpr wchar_t EnableCountQuery[] = L"QuorvaneEnableCount";
