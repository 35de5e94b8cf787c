// MessageBoxA: the modal message box, with its style flags and answer codes under their Windows
// names and numbers. The box is shown by the current Host (platform/host.h); without a host it
// is written to standard error and answered with its first button.
//
// REQUIRES: the one user-interface thread; text and caption are zero-terminated GBK texts (or
// null, taken as empty), copied before the host sees them.
#pragma once

#include "platform/win_types.h"

namespace kelmor::platform {

// MessageBoxA style flags and answers used by the program.
inline constexpr UINT MB_OK = 0x0;
inline constexpr UINT MB_OKCANCEL = 0x1;
inline constexpr UINT MB_ABORTRETRYIGNORE = 0x2;
inline constexpr UINT MB_YESNOCANCEL = 0x3;
inline constexpr UINT MB_YESNO = 0x4;
inline constexpr UINT MB_RETRYCANCEL = 0x5;
inline constexpr UINT MB_ICONHAND = 0x10;
inline constexpr UINT MB_ICONERROR = 0x10;
inline constexpr UINT MB_ICONQUESTION = 0x20;
inline constexpr UINT MB_ICONEXCLAMATION = 0x30;
inline constexpr UINT MB_ICONASTERISK = 0x40;
inline constexpr UINT MB_SYSTEMMODAL = 0x1000;
inline constexpr UINT MB_TASKMODAL = 0x2000;

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// Shows a modal message box through the current Host (platform/host.h) and returns its answer.
// text and caption are GBK.
int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type);

}  // namespace kelmor::platform
