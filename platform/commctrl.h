// Constants and records of the native controls (button, edit, static, combo box, tab control,
// tree view, list view, rich edit, splitter), under their Windows names, numbers and layouts.
// Pointer-sized fields (item handles, text pointers, lParam) are 64 bits wide, laid out as on
// 64-bit Windows.
#pragma once

#include <cstdint>

#include "platform/winuser.h"

namespace kelmor::platform {

// ---------------------------------------------------------------------------------------------
// Class names (GetClassNameA gives these back exactly).
inline constexpr const char* WC_BUTTONA = "Button";
inline constexpr const char* WC_EDITA = "Edit";
inline constexpr const char* WC_STATICA = "Static";
inline constexpr const char* WC_COMBOBOXA = "ComboBox";
inline constexpr const char* WC_TABCONTROLA = "SysTabControl32";
inline constexpr const char* WC_TREEVIEWA = "SysTreeView32";
inline constexpr const char* WC_LISTVIEWA = "SysListView32";
inline constexpr const char* RICHEDIT_CLASSA = "RichEdit20A";
inline constexpr const char* WC_DIALOG = "#32770";  // a dialog box (top level)
// Classes of this platform that have no Windows counterpart.
inline constexpr const char* FRAME_CLASSA = "KelmorFrame";        // an ordinary top-level window
inline constexpr const char* CONTAINER_CLASSA = "KelmorPicture";  // a plain child container
inline constexpr const char* SPLITTER_CLASSA = "KelmorSplitter";  // a splitter bar

// ---------------------------------------------------------------------------------------------
// Common notifications (WM_NOTIFY).
struct NMHDR {
  HWND hwndFrom = 0;
  UINT_PTR idFrom = 0;
  UINT code = 0;
};

inline constexpr UINT NM_FIRST = 0;
inline constexpr UINT NM_CLICK = NM_FIRST - 2;
inline constexpr UINT NM_DBLCLK = NM_FIRST - 3;
inline constexpr UINT NM_RETURN = NM_FIRST - 4;
inline constexpr UINT NM_RCLICK = NM_FIRST - 5;
inline constexpr UINT NM_RDBLCLK = NM_FIRST - 6;
inline constexpr UINT NM_SETFOCUS = NM_FIRST - 7;
inline constexpr UINT NM_KILLFOCUS = NM_FIRST - 8;

// ---------------------------------------------------------------------------------------------
// Button ("Button").
inline constexpr DWORD BS_PUSHBUTTON = 0x0;
inline constexpr DWORD BS_DEFPUSHBUTTON = 0x1;
inline constexpr DWORD BS_CHECKBOX = 0x2;
inline constexpr DWORD BS_AUTOCHECKBOX = 0x3;
inline constexpr DWORD BS_RADIOBUTTON = 0x4;
inline constexpr DWORD BS_GROUPBOX = 0x7;
inline constexpr DWORD BS_AUTORADIOBUTTON = 0x9;
inline constexpr DWORD BS_TYPEMASK = 0xF;

inline constexpr UINT BM_GETCHECK = 0x00F0;
inline constexpr UINT BM_SETCHECK = 0x00F1;
inline constexpr UINT BM_CLICK = 0x00F5;
inline constexpr LRESULT BST_UNCHECKED = 0;
inline constexpr LRESULT BST_CHECKED = 1;

inline constexpr WORD BN_CLICKED = 0;

// ---------------------------------------------------------------------------------------------
// Edit ("Edit"). Positions count bytes of the GBK text, as in an ANSI edit control.
inline constexpr DWORD ES_LEFT = 0x0000;
inline constexpr DWORD ES_CENTER = 0x0001;
inline constexpr DWORD ES_RIGHT = 0x0002;
inline constexpr DWORD ES_MULTILINE = 0x0004;
inline constexpr DWORD ES_UPPERCASE = 0x0008;
inline constexpr DWORD ES_LOWERCASE = 0x0010;
inline constexpr DWORD ES_PASSWORD = 0x0020;
inline constexpr DWORD ES_AUTOVSCROLL = 0x0040;
inline constexpr DWORD ES_AUTOHSCROLL = 0x0080;
inline constexpr DWORD ES_NOHIDESEL = 0x0100;
inline constexpr DWORD ES_READONLY = 0x0800;
inline constexpr DWORD ES_WANTRETURN = 0x1000;
inline constexpr DWORD ES_NUMBER = 0x2000;

inline constexpr UINT EM_GETSEL = 0x00B0;  // wParam DWORD* start, lParam DWORD* end
inline constexpr UINT EM_SETSEL = 0x00B1;  // wParam start, lParam end (-1 = end of text)
inline constexpr UINT EM_SCROLLCARET = 0x00B7;
inline constexpr UINT EM_GETMODIFY = 0x00B8;
inline constexpr UINT EM_SETMODIFY = 0x00B9;
inline constexpr UINT EM_GETLINECOUNT = 0x00BA;
inline constexpr UINT EM_LIMITTEXT = 0x00C5;
inline constexpr UINT EM_REPLACESEL = 0x00C2;  // lParam const char* (GBK)
inline constexpr UINT EM_SETLIMITTEXT = 0x00C5;
inline constexpr UINT EM_SETPASSWORDCHAR = 0x00CC;
inline constexpr UINT EM_GETPASSWORDCHAR = 0x00D2;
inline constexpr UINT EM_SETREADONLY = 0x00CF;  // wParam TRUE/FALSE; sets or clears ES_READONLY

inline constexpr WORD EN_SETFOCUS = 0x0100;
inline constexpr WORD EN_KILLFOCUS = 0x0200;
inline constexpr WORD EN_CHANGE = 0x0300;
inline constexpr WORD EN_UPDATE = 0x0400;

// ---------------------------------------------------------------------------------------------
// Static ("Static").
inline constexpr DWORD SS_LEFT = 0x0000;
inline constexpr DWORD SS_CENTER = 0x0001;
inline constexpr DWORD SS_RIGHT = 0x0002;
inline constexpr DWORD SS_ETCHEDFRAME = 0x0012;
inline constexpr DWORD SS_SUNKEN = 0x1000;

// ---------------------------------------------------------------------------------------------
// Combo box ("ComboBox").
inline constexpr DWORD CBS_SIMPLE = 0x0001;
inline constexpr DWORD CBS_DROPDOWN = 0x0002;
inline constexpr DWORD CBS_DROPDOWNLIST = 0x0003;

inline constexpr UINT CB_ADDSTRING = 0x0143;     // lParam const char*; → new index
inline constexpr UINT CB_DELETESTRING = 0x0144;  // wParam index; → remaining count
inline constexpr UINT CB_GETCOUNT = 0x0146;
inline constexpr UINT CB_GETCURSEL = 0x0147;     // → index or CB_ERR
inline constexpr UINT CB_GETLBTEXT = 0x0148;     // wParam index, lParam char*; → length
inline constexpr UINT CB_GETLBTEXTLEN = 0x0149;  // wParam index; → length or CB_ERR
inline constexpr UINT CB_INSERTSTRING = 0x014A;  // wParam index (-1 = end), lParam const char*
inline constexpr UINT CB_RESETCONTENT = 0x014B;
inline constexpr UINT CB_FINDSTRINGEXACT = 0x0158;  // wParam start (-1), lParam const char*
inline constexpr UINT CB_SETCURSEL = 0x014E;        // wParam index (-1 clears); → index or CB_ERR
inline constexpr UINT CB_SHOWDROPDOWN = 0x014F;
inline constexpr UINT CB_GETITEMDATA = 0x0150;  // wParam index; → data or CB_ERR
inline constexpr UINT CB_SETITEMDATA = 0x0151;  // wParam index, lParam data; → CB_ERR on fault
inline constexpr LRESULT CB_OKAY = 0;
inline constexpr LRESULT CB_ERR = -1;
inline constexpr LRESULT CB_ERRSPACE = -2;

inline constexpr WORD CBN_SELCHANGE = 1;
inline constexpr WORD CBN_DBLCLK = 2;
inline constexpr WORD CBN_EDITCHANGE = 5;
inline constexpr WORD CBN_DROPDOWN = 7;

// ---------------------------------------------------------------------------------------------
// Tab control ("SysTabControl32").
inline constexpr UINT TCM_FIRST = 0x1300;
inline constexpr UINT TCM_GETITEMCOUNT = TCM_FIRST + 4;
inline constexpr UINT TCM_DELETEITEM = TCM_FIRST + 8;
inline constexpr UINT TCM_DELETEALLITEMS = TCM_FIRST + 9;
inline constexpr UINT TCM_GETCURSEL = TCM_FIRST + 11;
inline constexpr UINT TCM_SETCURSEL = TCM_FIRST + 12;   // wParam index; → previous or -1
inline constexpr UINT TCM_INSERTITEMA = TCM_FIRST + 7;  // wParam index, lParam TCITEMA*

inline constexpr UINT TCIF_TEXT = 0x0001;
inline constexpr UINT TCIF_IMAGE = 0x0002;
inline constexpr UINT TCIF_PARAM = 0x0008;

struct TCITEMA {
  UINT mask = 0;
  DWORD dwState = 0;
  DWORD dwStateMask = 0;
  LPSTR pszText = nullptr;
  int cchTextMax = 0;
  int iImage = -1;
  LPARAM lParam = 0;
};

inline constexpr UINT TCN_FIRST = 0u - 550u;
inline constexpr UINT TCN_SELCHANGE = TCN_FIRST - 1;
inline constexpr UINT TCN_SELCHANGING = TCN_FIRST - 2;

// ---------------------------------------------------------------------------------------------
// Splitter bar (this platform's own class). A vertical bar unless SPS_HORZ is given. When the
// user drags it, it moves itself and sends its parent WM_NOTIFY with an NMSPLITTER whose code
// is SPN_MOVED and whose pos is its new left (or top) in the parent's client coordinates.
inline constexpr DWORD SPS_VERT = 0x0000;
inline constexpr DWORD SPS_HORZ = 0x0001;
inline constexpr UINT SPN_MOVED = 0u - 2200u;
inline constexpr UINT SPM_GETPOS = WM_USER + 100;  // → left (top) in parent coordinates
inline constexpr UINT SPM_SETPOS = WM_USER + 101;  // wParam new left (top); moves, no notify

struct NMSPLITTER {
  NMHDR hdr;
  int pos = 0;
};

// ---------------------------------------------------------------------------------------------
// Tree view ("SysTreeView32").
using HTREEITEM = std::uintptr_t;  // opaque; 0 is "no item"

// Special insert-after and parent values. Windows gives them as the sign-extended values below
// (0xFFFFFFFFFFFF0000 ...); the tree view also accepts their 32-bit forms 0xFFFF0000 ... 0xFFFF0003
// zero-extended, so either spelling works.
inline constexpr HTREEITEM TVI_ROOT = static_cast<HTREEITEM>(-0x10000);
inline constexpr HTREEITEM TVI_FIRST = static_cast<HTREEITEM>(-0x0FFFF);
inline constexpr HTREEITEM TVI_LAST = static_cast<HTREEITEM>(-0x0FFFE);
inline constexpr HTREEITEM TVI_SORT = static_cast<HTREEITEM>(-0x0FFFD);

inline constexpr DWORD TVS_HASBUTTONS = 0x0001;
inline constexpr DWORD TVS_HASLINES = 0x0002;
inline constexpr DWORD TVS_LINESATROOT = 0x0004;
inline constexpr DWORD TVS_EDITLABELS = 0x0008;
inline constexpr DWORD TVS_DISABLEDRAGDROP = 0x0010;
inline constexpr DWORD TVS_SHOWSELALWAYS = 0x0020;
inline constexpr DWORD TVS_RTLREADING = 0x0040;
inline constexpr DWORD TVS_NOTOOLTIPS = 0x0080;
inline constexpr DWORD TVS_CHECKBOXES = 0x0100;
inline constexpr DWORD TVS_TRACKSELECT = 0x0200;
inline constexpr DWORD TVS_SINGLEEXPAND = 0x0400;
inline constexpr DWORD TVS_INFOTIP = 0x0800;
inline constexpr DWORD TVS_FULLROWSELECT = 0x1000;
inline constexpr DWORD TVS_NOSCROLL = 0x2000;
inline constexpr DWORD TVS_NONEVENHEIGHT = 0x4000;
inline constexpr DWORD TVS_NOHSCROLL = 0x8000;

inline constexpr UINT TV_FIRST = 0x1100;
inline constexpr UINT TVM_INSERTITEMA = TV_FIRST + 0;  // lParam TVINSERTSTRUCTA*; → HTREEITEM
inline constexpr UINT TVM_DELETEITEM = TV_FIRST + 1;   // lParam HTREEITEM (TVI_ROOT = all)
inline constexpr UINT TVM_EXPAND = TV_FIRST + 2;       // wParam TVE_*, lParam HTREEITEM
inline constexpr UINT TVM_GETITEMRECT = TV_FIRST + 4;  // wParam text only, lParam RECT*
inline constexpr UINT TVM_GETCOUNT = TV_FIRST + 5;
inline constexpr UINT TVM_GETINDENT = TV_FIRST + 6;
inline constexpr UINT TVM_SETINDENT = TV_FIRST + 7;
inline constexpr UINT TVM_GETIMAGELIST = TV_FIRST + 8;
inline constexpr UINT TVM_SETIMAGELIST = TV_FIRST + 9;  // wParam TVSIL_*, lParam HIMAGELIST
inline constexpr UINT TVM_GETNEXTITEM = TV_FIRST + 10;  // wParam TVGN_*, lParam HTREEITEM
inline constexpr UINT TVM_SELECTITEM = TV_FIRST + 11;   // wParam TVGN_CARET, lParam HTREEITEM
inline constexpr UINT TVM_GETITEMA = TV_FIRST + 12;     // lParam TVITEMA*
inline constexpr UINT TVM_SETITEMA = TV_FIRST + 13;     // lParam const TVITEMA*
inline constexpr UINT TVM_EDITLABELA = TV_FIRST + 14;   // lParam HTREEITEM; → edit HWND or 0
inline constexpr UINT TVM_GETEDITCONTROL = TV_FIRST + 15;
inline constexpr UINT TVM_GETVISIBLECOUNT = TV_FIRST + 16;
inline constexpr UINT TVM_HITTEST = TV_FIRST + 17;  // lParam TVHITTESTINFO*
inline constexpr UINT TVM_SORTCHILDREN = TV_FIRST + 19;
inline constexpr UINT TVM_ENSUREVISIBLE = TV_FIRST + 20;    // lParam HTREEITEM
inline constexpr UINT TVM_ENDEDITLABELNOW = TV_FIRST + 22;  // wParam TRUE = cancel
inline constexpr UINT TVM_SETITEMHEIGHT = TV_FIRST + 27;    // wParam height (-1 = default)
inline constexpr UINT TVM_GETITEMHEIGHT = TV_FIRST + 28;
inline constexpr UINT TVM_SETBKCOLOR = TV_FIRST + 29;  // lParam COLORREF; → previous
inline constexpr UINT TVM_SETTEXTCOLOR = TV_FIRST + 30;
inline constexpr UINT TVM_GETBKCOLOR = TV_FIRST + 31;
inline constexpr UINT TVM_GETTEXTCOLOR = TV_FIRST + 32;
inline constexpr UINT TVM_GETITEMSTATE = TV_FIRST + 39;  // wParam HTREEITEM, lParam mask
inline constexpr UINT TVM_SETLINECOLOR = TV_FIRST + 40;
inline constexpr UINT TVM_GETLINECOLOR = TV_FIRST + 41;

inline constexpr COLORREF CLR_DEFAULT = 0xFF000000;
inline constexpr COLORREF CLR_NONE = 0xFFFFFFFF;

inline constexpr WPARAM TVSIL_NORMAL = 0;
inline constexpr WPARAM TVSIL_STATE = 2;

inline constexpr WPARAM TVE_COLLAPSE = 0x0001;
inline constexpr WPARAM TVE_EXPAND = 0x0002;
inline constexpr WPARAM TVE_TOGGLE = 0x0003;
inline constexpr WPARAM TVE_COLLAPSERESET = 0x8000;

inline constexpr WPARAM TVGN_ROOT = 0x0;
inline constexpr WPARAM TVGN_NEXT = 0x1;
inline constexpr WPARAM TVGN_PREVIOUS = 0x2;
inline constexpr WPARAM TVGN_PARENT = 0x3;
inline constexpr WPARAM TVGN_CHILD = 0x4;
inline constexpr WPARAM TVGN_FIRSTVISIBLE = 0x5;
inline constexpr WPARAM TVGN_NEXTVISIBLE = 0x6;
inline constexpr WPARAM TVGN_PREVIOUSVISIBLE = 0x7;
inline constexpr WPARAM TVGN_DROPHILITE = 0x8;
inline constexpr WPARAM TVGN_CARET = 0x9;
inline constexpr WPARAM TVGN_LASTVISIBLE = 0xA;

inline constexpr UINT TVIF_TEXT = 0x0001;
inline constexpr UINT TVIF_IMAGE = 0x0002;
inline constexpr UINT TVIF_PARAM = 0x0004;
inline constexpr UINT TVIF_STATE = 0x0008;
inline constexpr UINT TVIF_HANDLE = 0x0010;
inline constexpr UINT TVIF_SELECTEDIMAGE = 0x0020;
inline constexpr UINT TVIF_CHILDREN = 0x0040;

inline constexpr UINT TVIS_SELECTED = 0x0002;
inline constexpr UINT TVIS_CUT = 0x0004;
inline constexpr UINT TVIS_DROPHILITED = 0x0008;
inline constexpr UINT TVIS_BOLD = 0x0010;
inline constexpr UINT TVIS_EXPANDED = 0x0020;
inline constexpr UINT TVIS_EXPANDEDONCE = 0x0040;
inline constexpr UINT TVIS_OVERLAYMASK = 0x0F00;
inline constexpr UINT TVIS_STATEIMAGEMASK = 0xF000;
inline constexpr UINT TVIS_USERMASK = 0xF000;

constexpr UINT INDEXTOSTATEIMAGEMASK(UINT i) {
  return i << 12;
}

inline constexpr int I_CHILDRENCALLBACK = -1;
inline constexpr int I_IMAGECALLBACK = -1;

inline constexpr UINT TVHT_NOWHERE = 0x0001;
inline constexpr UINT TVHT_ONITEMICON = 0x0002;
inline constexpr UINT TVHT_ONITEMLABEL = 0x0004;
inline constexpr UINT TVHT_ONITEMINDENT = 0x0008;
inline constexpr UINT TVHT_ONITEMBUTTON = 0x0010;
inline constexpr UINT TVHT_ONITEMRIGHT = 0x0020;
inline constexpr UINT TVHT_ONITEMSTATEICON = 0x0040;
inline constexpr UINT TVHT_ONITEM = TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON;
inline constexpr UINT TVHT_ABOVE = 0x0100;
inline constexpr UINT TVHT_BELOW = 0x0200;
inline constexpr UINT TVHT_TORIGHT = 0x0400;
inline constexpr UINT TVHT_TOLEFT = 0x0800;

// 56 bytes on this 64-bit platform.
struct TVITEMA {
  UINT mask = 0;
  HTREEITEM hItem = 0;
  UINT state = 0;
  UINT stateMask = 0;
  LPSTR pszText = nullptr;
  int cchTextMax = 0;
  int iImage = 0;
  int iSelectedImage = 0;
  int cChildren = 0;
  LPARAM lParam = 0;
};

struct TVINSERTSTRUCTA {
  HTREEITEM hParent = 0;       // 0 or TVI_ROOT: top level
  HTREEITEM hInsertAfter = 0;  // TVI_FIRST, TVI_LAST, TVI_SORT or a sibling's handle
  TVITEMA item;
};

struct TVHITTESTINFO {
  POINT pt;  // client coordinates of the tree view
  UINT flags = 0;
  HTREEITEM hItem = 0;
};

// TVN_SELCHANGED, TVN_ITEMEXPANDED, TVN_DELETEITEM ...
struct NMTREEVIEWA {
  NMHDR hdr;
  UINT action = 0;
  TVITEMA itemOld;
  TVITEMA itemNew;
  POINT ptDrag;
};

// TVN_BEGINLABELEDITA, TVN_ENDLABELEDITA.
struct NMTVDISPINFOA {
  NMHDR hdr;
  TVITEMA item;
};

inline constexpr UINT TVN_FIRST = 0u - 400u;
inline constexpr UINT TVN_SELCHANGINGA = TVN_FIRST - 1;
inline constexpr UINT TVN_SELCHANGEDA = TVN_FIRST - 2;
inline constexpr UINT TVN_ITEMEXPANDINGA = TVN_FIRST - 5;
inline constexpr UINT TVN_ITEMEXPANDEDA = TVN_FIRST - 6;
inline constexpr UINT TVN_DELETEITEMA = TVN_FIRST - 9;
inline constexpr UINT TVN_BEGINLABELEDITA = TVN_FIRST - 10;
inline constexpr UINT TVN_ENDLABELEDITA = TVN_FIRST - 11;
inline constexpr UINT TVN_KEYDOWN = TVN_FIRST - 12;  // NMTVKEYDOWN

// TVN_KEYDOWN, LVN_KEYDOWN: a key pressed while the control has the focus.
struct NMKEYDOWN {
  NMHDR hdr;
  WORD wVKey = 0;
  UINT flags = 0;
};
using NMTVKEYDOWN = NMKEYDOWN;
using NMLVKEYDOWN = NMKEYDOWN;

// TVN_SELCHANGED action.
inline constexpr UINT TVC_UNKNOWN = 0;
inline constexpr UINT TVC_BYMOUSE = 1;
inline constexpr UINT TVC_BYKEYBOARD = 2;

// ---------------------------------------------------------------------------------------------
// List view ("SysListView32").
inline constexpr DWORD LVS_ICON = 0x0000;
inline constexpr DWORD LVS_REPORT = 0x0001;
inline constexpr DWORD LVS_SMALLICON = 0x0002;
inline constexpr DWORD LVS_LIST = 0x0003;
inline constexpr DWORD LVS_TYPEMASK = 0x0003;
inline constexpr DWORD LVS_SINGLESEL = 0x0004;
inline constexpr DWORD LVS_SHOWSELALWAYS = 0x0008;
inline constexpr DWORD LVS_SORTASCENDING = 0x0010;
inline constexpr DWORD LVS_SORTDESCENDING = 0x0020;
inline constexpr DWORD LVS_EDITLABELS = 0x0200;
inline constexpr DWORD LVS_NOCOLUMNHEADER = 0x4000;
inline constexpr DWORD LVS_NOSORTHEADER = 0x8000;

inline constexpr DWORD LVS_EX_GRIDLINES = 0x0001;
inline constexpr DWORD LVS_EX_SUBITEMIMAGES = 0x0002;
inline constexpr DWORD LVS_EX_CHECKBOXES = 0x0004;
inline constexpr DWORD LVS_EX_TRACKSELECT = 0x0008;
inline constexpr DWORD LVS_EX_HEADERDRAGDROP = 0x0010;
inline constexpr DWORD LVS_EX_FULLROWSELECT = 0x0020;

inline constexpr UINT LVM_FIRST = 0x1000;
inline constexpr UINT LVM_GETBKCOLOR = LVM_FIRST + 0;
inline constexpr UINT LVM_SETBKCOLOR = LVM_FIRST + 1;
inline constexpr UINT LVM_SETIMAGELIST = LVM_FIRST + 3;
inline constexpr UINT LVM_GETITEMCOUNT = LVM_FIRST + 4;
inline constexpr UINT LVM_GETITEMA = LVM_FIRST + 5;     // lParam LVITEMA*
inline constexpr UINT LVM_SETITEMA = LVM_FIRST + 6;     // lParam const LVITEMA*
inline constexpr UINT LVM_INSERTITEMA = LVM_FIRST + 7;  // lParam const LVITEMA*; → index or -1
inline constexpr UINT LVM_DELETEITEM = LVM_FIRST + 8;   // wParam index
inline constexpr UINT LVM_DELETEALLITEMS = LVM_FIRST + 9;
inline constexpr UINT LVM_GETNEXTITEM = LVM_FIRST + 12;  // wParam start (-1), lParam LVNI_*
inline constexpr UINT LVM_HITTEST = LVM_FIRST + 18;      // lParam LVHITTESTINFO*
inline constexpr UINT LVM_ENSUREVISIBLE = LVM_FIRST + 19;
inline constexpr UINT LVM_GETCOLUMNA = LVM_FIRST + 25;
inline constexpr UINT LVM_SETCOLUMNA = LVM_FIRST + 26;
inline constexpr UINT LVM_INSERTCOLUMNA = LVM_FIRST + 27;  // wParam index, lParam LVCOLUMNA*
inline constexpr UINT LVM_DELETECOLUMN = LVM_FIRST + 28;
inline constexpr UINT LVM_GETCOLUMNWIDTH = LVM_FIRST + 29;
inline constexpr UINT LVM_SETCOLUMNWIDTH = LVM_FIRST + 30;
inline constexpr UINT LVM_SETTEXTCOLOR = LVM_FIRST + 36;
inline constexpr UINT LVM_SETTEXTBKCOLOR = LVM_FIRST + 38;
inline constexpr UINT LVM_SETITEMSTATE = LVM_FIRST + 43;  // wParam index (-1 = all), LVITEMA*
inline constexpr UINT LVM_GETITEMSTATE = LVM_FIRST + 44;  // wParam index, lParam mask
inline constexpr UINT LVM_GETITEMTEXTA = LVM_FIRST + 45;  // wParam index, lParam LVITEMA*
inline constexpr UINT LVM_SETITEMTEXTA = LVM_FIRST + 46;  // wParam index, lParam LVITEMA*
inline constexpr UINT LVM_GETSELECTEDCOUNT = LVM_FIRST + 50;
inline constexpr UINT LVM_SETEXTENDEDLISTVIEWSTYLE = LVM_FIRST + 54;  // wParam mask, lParam
inline constexpr UINT LVM_GETEXTENDEDLISTVIEWSTYLE = LVM_FIRST + 55;

inline constexpr UINT LVIF_TEXT = 0x0001;
inline constexpr UINT LVIF_IMAGE = 0x0002;
inline constexpr UINT LVIF_PARAM = 0x0004;
inline constexpr UINT LVIF_STATE = 0x0008;
inline constexpr UINT LVIF_INDENT = 0x0010;

inline constexpr UINT LVIS_FOCUSED = 0x0001;
inline constexpr UINT LVIS_SELECTED = 0x0002;
inline constexpr UINT LVIS_CUT = 0x0004;
inline constexpr UINT LVIS_DROPHILITED = 0x0008;
inline constexpr UINT LVIS_OVERLAYMASK = 0x0F00;
inline constexpr UINT LVIS_STATEIMAGEMASK = 0xF000;

inline constexpr LPARAM LVNI_ALL = 0x0000;
inline constexpr LPARAM LVNI_FOCUSED = 0x0001;
inline constexpr LPARAM LVNI_SELECTED = 0x0002;

inline constexpr UINT LVCF_FMT = 0x0001;
inline constexpr UINT LVCF_WIDTH = 0x0002;
inline constexpr UINT LVCF_TEXT = 0x0004;
inline constexpr UINT LVCF_SUBITEM = 0x0008;
inline constexpr int LVCFMT_LEFT = 0;
inline constexpr int LVCFMT_RIGHT = 1;
inline constexpr int LVCFMT_CENTER = 2;

struct LVITEMA {
  UINT mask = 0;
  int iItem = 0;
  int iSubItem = 0;
  UINT state = 0;
  UINT stateMask = 0;
  LPSTR pszText = nullptr;
  int cchTextMax = 0;
  int iImage = 0;
  LPARAM lParam = 0;
  int iIndent = 0;
};

struct LVCOLUMNA {
  UINT mask = 0;
  int fmt = 0;
  int cx = 0;
  LPSTR pszText = nullptr;
  int cchTextMax = 0;
  int iSubItem = 0;
};

inline constexpr UINT LVHT_NOWHERE = 0x0001;
inline constexpr UINT LVHT_ONITEMICON = 0x0002;
inline constexpr UINT LVHT_ONITEMLABEL = 0x0004;
inline constexpr UINT LVHT_ONITEM = 0x000E;

struct LVHITTESTINFO {
  POINT pt;
  UINT flags = 0;
  int iItem = -1;
  int iSubItem = 0;
};

// NM_CLICK, NM_DBLCLK, NM_RCLICK of a list view.
struct NMITEMACTIVATE {
  NMHDR hdr;
  int iItem = -1;
  int iSubItem = 0;
  UINT uNewState = 0;
  UINT uOldState = 0;
  UINT uChanged = 0;
  POINT ptAction;
  LPARAM lParam = 0;
  UINT uKeyFlags = 0;
};

// LVN_ITEMCHANGED.
struct NMLISTVIEW {
  NMHDR hdr;
  int iItem = -1;
  int iSubItem = 0;
  UINT uNewState = 0;
  UINT uOldState = 0;
  UINT uChanged = 0;
  POINT ptAction;
  LPARAM lParam = 0;
};

inline constexpr UINT LVN_FIRST = 0u - 100u;
inline constexpr UINT LVN_ITEMCHANGING = LVN_FIRST - 0;
inline constexpr UINT LVN_ITEMCHANGED = LVN_FIRST - 1;
inline constexpr UINT LVN_INSERTITEM = LVN_FIRST - 2;
inline constexpr UINT LVN_DELETEITEM = LVN_FIRST - 3;
inline constexpr UINT LVN_DELETEALLITEMS = LVN_FIRST - 4;
inline constexpr UINT LVN_COLUMNCLICK = LVN_FIRST - 8;
inline constexpr UINT LVN_KEYDOWN = LVN_FIRST - 55;  // NMLVKEYDOWN

// ---------------------------------------------------------------------------------------------
// Rich edit ("RichEdit20A"). Character positions count characters: an ASCII byte or a GBK
// double-byte character is one position, and a paragraph mark (CR, LF or CR LF in the text
// given) is one position, stored as CR. WM_GETTEXT gives each paragraph mark back as CR LF;
// WM_GETTEXTLENGTH and EM_GETTEXTRANGE count and give them as one CR.
inline constexpr UINT EM_CANPASTE = WM_USER + 50;
inline constexpr UINT EM_EXGETSEL = WM_USER + 52;  // lParam CHARRANGE*
inline constexpr UINT EM_EXLIMITTEXT = WM_USER + 53;
inline constexpr UINT EM_EXLINEFROMCHAR = WM_USER + 54;
inline constexpr UINT EM_EXSETSEL = WM_USER + 55;  // lParam const CHARRANGE*; → new end
inline constexpr UINT EM_FINDTEXT = WM_USER + 56;  // wParam FR_*, lParam FINDTEXTA*
inline constexpr UINT EM_GETCHARFORMAT =
    WM_USER + 58;  // wParam SCF_DEFAULT/SELECTION, CHARFORMATA*
inline constexpr UINT EM_GETEVENTMASK = WM_USER + 59;
inline constexpr UINT EM_HIDESELECTION = WM_USER + 63;
inline constexpr UINT EM_GETSELTEXT = WM_USER + 62;     // lParam char*; → length in bytes
inline constexpr UINT EM_SETBKGNDCOLOR = WM_USER + 67;  // wParam TRUE = system colour, lParam
inline constexpr UINT EM_SETCHARFORMAT = WM_USER + 68;  // wParam SCF_*, lParam const CHARFORMATA*
inline constexpr UINT EM_SETEVENTMASK = WM_USER + 69;
inline constexpr UINT EM_SETTARGETDEVICE = WM_USER + 72;  // lParam 0 = wrap at the window edge
inline constexpr UINT EM_STREAMIN = WM_USER + 73;         // wParam SF_*, lParam EDITSTREAM*
inline constexpr UINT EM_STREAMOUT = WM_USER + 74;
inline constexpr UINT EM_GETTEXTRANGE = WM_USER + 75;  // lParam TEXTRANGEA*; → bytes copied
inline constexpr UINT EM_FINDTEXTEX = WM_USER + 79;    // wParam FR_*, lParam FINDTEXTEXA*
// Zoom: numerator / denominator of the text's scale, between 1/64 and 64 (both ends excluded);
// 0 / 0 is no zoom. EM_SETZOOM returns FALSE, and changes nothing, for any other ratio.
inline constexpr UINT EM_GETZOOM = WM_USER + 224;  // wParam int* numerator, lParam int* denominator
inline constexpr UINT EM_SETZOOM = WM_USER + 225;  // wParam numerator, lParam denominator

// The page's own menu and keys (this platform's addition to the rich edit). WM_CONTEXTMENU (a
// right click, Shift+F10, the Menu key) shows 复制, 全选, 打印… and 导出PDF…; Ctrl+C is WM_COPY
// (the selection to the clipboard), Ctrl+A selects everything, Ctrl+P is 打印…. 打印… and
// 导出PDF… are for the parent: WM_COMMAND MAKEWPARAM(id, EN_PRINTPAGE / EN_EXPORTPDF). Both are
// offered only while the page names what it shows (EM_SETPAGEINFO); replacing the whole text
// forgets that, so a page is never printed under the name of an entry it no longer shows.
struct PAGEINFOA {
  LPCSTR pszName = nullptr;    // GBK: what the page shows (the proposed file name's stem)
  LPCSTR pszHeader = nullptr;  // GBK: the line printed above every sheet
};
inline constexpr UINT EM_SETPAGEINFO = WM_USER + 300;  // lParam const PAGEINFOA* (null: none)
inline constexpr WORD EN_PRINTPAGE = 0x0F10;
inline constexpr WORD EN_EXPORTPDF = 0x0F11;

inline constexpr WPARAM SCF_DEFAULT = 0x0000;
inline constexpr WPARAM SCF_SELECTION = 0x0001;
inline constexpr WPARAM SCF_WORD = 0x0002;
inline constexpr WPARAM SCF_ALL = 0x0004;

inline constexpr DWORD CFM_BOLD = 0x00000001;
inline constexpr DWORD CFM_ITALIC = 0x00000002;
inline constexpr DWORD CFM_UNDERLINE = 0x00000004;
inline constexpr DWORD CFM_STRIKEOUT = 0x00000008;
inline constexpr DWORD CFM_PROTECTED = 0x00000010;
inline constexpr DWORD CFM_LINK = 0x00000020;
inline constexpr DWORD CFM_SIZE = 0x80000000;
inline constexpr DWORD CFM_COLOR = 0x40000000;
inline constexpr DWORD CFM_FACE = 0x20000000;
inline constexpr DWORD CFM_OFFSET = 0x10000000;
inline constexpr DWORD CFM_CHARSET = 0x08000000;
inline constexpr DWORD CFM_EFFECTS =
    CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_COLOR | CFM_STRIKEOUT | CFM_PROTECTED | CFM_LINK;

inline constexpr DWORD CFE_BOLD = 0x00000001;
inline constexpr DWORD CFE_ITALIC = 0x00000002;
inline constexpr DWORD CFE_UNDERLINE = 0x00000004;
inline constexpr DWORD CFE_STRIKEOUT = 0x00000008;
inline constexpr DWORD CFE_PROTECTED = 0x00000010;
inline constexpr DWORD CFE_LINK = 0x00000020;
inline constexpr DWORD CFE_AUTOCOLOR = 0x40000000;  // the text colour is the system's

inline constexpr int LF_FACESIZE = 32;

// 60 bytes.
struct CHARFORMATA {
  UINT cbSize = sizeof(CHARFORMATA);
  DWORD dwMask = 0;
  DWORD dwEffects = 0;
  LONG yHeight = 0;  // twips (1/20 point)
  LONG yOffset = 0;  // twips
  COLORREF crTextColor = 0;
  BYTE bCharSet = 0;
  BYTE bPitchAndFamily = 0;
  char szFaceName[LF_FACESIZE] = {};
};

struct CHARRANGE {
  LONG cpMin = 0;
  LONG cpMax = 0;  // -1: end of text
};

struct TEXTRANGEA {
  CHARRANGE chrg;
  LPSTR lpstrText = nullptr;  // receives the GBK bytes and a zero byte
};

struct FINDTEXTA {
  CHARRANGE chrg;
  LPCSTR lpstrText = nullptr;
};

struct FINDTEXTEXA {
  CHARRANGE chrg;
  LPCSTR lpstrText = nullptr;
  CHARRANGE chrgText;  // receives the found range (end exclusive), or -1, -1
};

// EM_SETEVENTMASK bits.
inline constexpr DWORD ENM_NONE = 0x00000000;
inline constexpr DWORD ENM_CHANGE = 0x00000001;
inline constexpr DWORD ENM_SELCHANGE = 0x00080000;

inline constexpr WPARAM FR_DOWN = 0x00000001;
inline constexpr WPARAM FR_WHOLEWORD = 0x00000002;
inline constexpr WPARAM FR_MATCHCASE = 0x00000004;

// Reads up to cb bytes into pbBuff and stores how many in *pcb; 0 means go on (a call that
// gives 0 bytes ends the stream), any other value is an error that ends the stream.
using EDITSTREAMCALLBACK = DWORD (*)(DWORD_PTR dwCookie, LPBYTE pbBuff, LONG cb, LONG* pcb);

struct EDITSTREAM {
  DWORD_PTR dwCookie = 0;
  DWORD dwError = 0;
  EDITSTREAMCALLBACK pfnCallback = nullptr;
};

inline constexpr WPARAM SF_TEXT = 0x0001;
inline constexpr WPARAM SF_RTF = 0x0002;
inline constexpr WPARAM SFF_SELECTION = 0x8000;  // replace the selection instead of all text

}  // namespace kelmor::platform
