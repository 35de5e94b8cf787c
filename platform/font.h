// Font objects for WM_SETFONT: a face name, a character height in pixels and a character set.
// The display reads them back with GetFontInfo to pick the real font.
#pragma once

#include <string>

#include "platform/win_types.h"
#include "platform/winuser.h"

namespace kelmor::platform {

inline constexpr DWORD DEFAULT_CHARSET = 1;
inline constexpr DWORD GB2312_CHARSET = 134;
inline constexpr int FW_NORMAL = 400;
inline constexpr int FW_BOLD = 700;

struct FontInfo {
  std::string face;  // GBK
  int height = 0;    // character height in pixels (the absolute value of cHeight)
  int weight = FW_NORMAL;
  bool italic = false;
  DWORD charset = DEFAULT_CHARSET;
};

// Only the height, weight, italic flag, character set and face are kept; the rest is accepted
// and ignored. Handles are never reused while the process lives.
HFONT CreateFontA(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight,
                  DWORD bItalic, DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet,
                  DWORD iOutPrecision, DWORD iClipPrecision, DWORD iQuality, DWORD iPitchAndFamily,
                  LPCSTR pszFaceName);

// Deletes a font (or an image list of platform/image_list.h); FALSE for an unknown handle.
BOOL DeleteObject(HANDLE object);

// FALSE for a handle that is not a live font.
BOOL GetFontInfo(HFONT font, FontInfo* info);

}  // namespace kelmor::platform
