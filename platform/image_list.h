// Image lists for TVM_SETIMAGELIST: only the image size and count are kept; the pictures are
// the display's own.
#pragma once

#include <cstdint>

#include "platform/win_types.h"

namespace kelmor::platform {

using HIMAGELIST = std::uintptr_t;

inline constexpr UINT ILC_COLOR24 = 0x0018;
inline constexpr UINT ILC_MASK = 0x0001;

// An image list of cInitial images of cx x cy pixels; handles are never reused.
HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int cInitial, int cGrow);
BOOL ImageList_Destroy(HIMAGELIST himl);
int ImageList_GetImageCount(HIMAGELIST himl);  // -1 for an unknown handle
BOOL ImageList_SetImageCount(HIMAGELIST himl, UINT uNewCount);
BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy);

}  // namespace kelmor::platform
