#include "platform/font.h"

#include <cstdlib>
#include <map>

#include "platform/image_list.h"

namespace kelmor::platform {
namespace {

// Fonts and image lists share one handle space, so DeleteObject can tell them apart.
struct GdiObjects {
  HANDLE next = 0x5000;
  std::map<HANDLE, FontInfo> fonts;
  struct ImageList {
    int cx = 0, cy = 0, count = 0;
  };
  std::map<HANDLE, ImageList> image_lists;
};

GdiObjects& Objects() {
  static GdiObjects objects;
  return objects;
}

}  // namespace

HFONT CreateFontA(int cHeight, int /*cWidth*/, int /*cEscapement*/, int /*cOrientation*/,
                  int cWeight, DWORD bItalic, DWORD /*bUnderline*/, DWORD /*bStrikeOut*/,
                  DWORD iCharSet, DWORD /*iOutPrecision*/, DWORD /*iClipPrecision*/,
                  DWORD /*iQuality*/, DWORD /*iPitchAndFamily*/, LPCSTR pszFaceName) {
  FontInfo info;
  info.face = pszFaceName != nullptr ? pszFaceName : "";
  info.height = std::abs(cHeight);
  info.weight = cWeight == 0 ? FW_NORMAL : cWeight;
  info.italic = bItalic != 0;
  info.charset = iCharSet;
  GdiObjects& objects = Objects();
  HANDLE handle = ++objects.next;
  objects.fonts.emplace(handle, std::move(info));
  return handle;
}

BOOL DeleteObject(HANDLE object) {
  GdiObjects& objects = Objects();
  if (objects.fonts.erase(object) > 0) return TRUE;
  return objects.image_lists.erase(object) > 0 ? TRUE : FALSE;
}

BOOL GetFontInfo(HFONT font, FontInfo* info) {
  auto it = Objects().fonts.find(font);
  if (it == Objects().fonts.end()) return FALSE;
  if (info != nullptr) *info = it->second;
  return TRUE;
}

HIMAGELIST ImageList_Create(int cx, int cy, UINT /*flags*/, int cInitial, int /*cGrow*/) {
  if (cx <= 0 || cy <= 0) return 0;
  GdiObjects& objects = Objects();
  HANDLE handle = ++objects.next;
  objects.image_lists[handle] = {cx, cy, cInitial > 0 ? cInitial : 0};
  return handle;
}

BOOL ImageList_Destroy(HIMAGELIST himl) {
  return Objects().image_lists.erase(himl) > 0;
}

int ImageList_GetImageCount(HIMAGELIST himl) {
  auto it = Objects().image_lists.find(himl);
  return it == Objects().image_lists.end() ? -1 : it->second.count;
}

BOOL ImageList_SetImageCount(HIMAGELIST himl, UINT uNewCount) {
  auto it = Objects().image_lists.find(himl);
  if (it == Objects().image_lists.end()) return FALSE;
  it->second.count = static_cast<int>(uNewCount);
  return TRUE;
}

BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy) {
  auto it = Objects().image_lists.find(himl);
  if (it == Objects().image_lists.end()) return FALSE;
  if (cx != nullptr) *cx = it->second.cx;
  if (cy != nullptr) *cy = it->second.cy;
  return TRUE;
}

}  // namespace kelmor::platform
