// Windows, their registry and their messages.
//
// Every window lives in one process-wide registry and is named by an HWND: an opaque id that is
// never reused while the process lives, so a stale handle is refused (0, FALSE or no effect),
// never dereferenced. Everything runs on the one user-interface thread; nothing is locked.
//
// Geometry. A child window (WS_CHILD) is placed in its parent's client coordinates and its
// client area is its whole rectangle. A top-level window is placed in screen coordinates and
// has a frame: its client area is its outer size less kFrameBorder on the left, right and
// bottom and kFrameBorder + kCaptionHeight at the top. The screen is kScreenWidth x
// kScreenHeight unless the display sets another size (SetScreenSize); a maximised window
// covers the whole screen.
//
// Messages. Each window has its class's own procedure (the native control) and, above it, a
// chain of subclass procedures (SetWindowSubclass); SendMessageA calls the newest subclass
// first, DefSubclassProc passes a message on to the next one down, and the last one passes it
// to the class procedure. DefWindowProcA is the handling of a window that has no class of its
// own to speak of (containers, frames): WM_SETTEXT/WM_GETTEXT/WM_GETTEXTLENGTH on the window
// text, WM_CLOSE destroys the window, WM_SYSCOMMAND SC_* maximises/minimises/restores/closes;
// Shift+F10 (WM_SYSKEYDOWN VK_F10 with Shift held) and the release of the Menu key (WM_KEYUP
// VK_APPS) send WM_CONTEXTMENU (wParam the window, lParam -1) to the window, and a child passes
// WM_CONTEXTMENU on to its parent.
// Notifications of a control (WM_COMMAND, WM_NOTIFY) go to its parent with SendMessageA.
//
// What the platform sends on its own:
//   MoveWindow / ShowWindow state changes: WM_MOVE when the position changed, WM_SIZE
//     (SIZE_RESTORED / SIZE_MAXIMIZED / SIZE_MINIMIZED, lParam client width | height << 16)
//     when the size or the show state changed;
//   ShowWindow: WM_SHOWWINDOW (wParam TRUE/FALSE) when visibility changes;
//   EnableWindow: WM_ENABLE; SetFocus: WM_KILLFOCUS to the old, WM_SETFOCUS to the new window;
//   DestroyWindow: WM_DESTROY to the window, then to its children and owned windows; posted
//     messages still queued for a destroyed window are dropped.
// WM_CREATE is not sent (no subclass could be installed yet); a window is complete when
// CreateWindowExA returns. Each change a painter needs is reported to Host::WindowChanged.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/commctrl.h"
#include "platform/host.h"
#include "platform/win_types.h"
#include "platform/winuser.h"

namespace kelmor::platform {

using WNDPROC = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;
using SUBCLASSPROC =
    std::function<LRESULT(HWND, UINT, WPARAM, LPARAM, UINT_PTR uIdSubclass, DWORD_PTR dwRefData)>;

inline constexpr int kFrameBorder = 3;     // left, right and bottom frame of a top-level window
inline constexpr int kCaptionHeight = 20;  // caption bar above a top-level window's client area
inline constexpr int kScreenWidth = 1024;
inline constexpr int kScreenHeight = 768;

// ---------------------------------------------------------------------------------------------
// Creation and destruction.

// Creates a window of one of the classes in platform/commctrl.h (class names compare without
// regard to ASCII case; an unknown class gives 0). Without WS_CHILD the window is top level and
// hWndParent is its owner (may be 0); with WS_CHILD hWndParent must be a live window. For a
// child, hMenu is its control id (GetDlgCtrlID). CW_USEDEFAULT places a top-level window at 0, 0
// and gives it 400 x 300. The new window is visible when the style has WS_VISIBLE.
HWND CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X,
                     int Y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu,
                     HINSTANCE hInstance = 0, void* lpParam = nullptr);

// Destroys the window, its children and the windows it owns. FALSE for a window that is not
// alive. Safe to call from inside the window's own procedure: the object stays alive until
// the message being handled returns, but the handle is refused at once.
BOOL DestroyWindow(HWND hWnd);

BOOL IsWindow(HWND hWnd);

// ---------------------------------------------------------------------------------------------
// Relations and identity.

// The parent of a child window, or the owner of a top-level window; 0 when none.
HWND GetParent(HWND hWnd);
// GW_CHILD (first child), GW_HWNDNEXT / GW_HWNDPREV (siblings in creation order), GW_HWNDFIRST /
// GW_HWNDLAST, GW_OWNER.
HWND GetWindow(HWND hWnd, UINT uCmd);
// The child (direct only) whose control id is nIDDlgItem; 0 when none.
HWND GetDlgItem(HWND hDlg, int nIDDlgItem);
int GetDlgCtrlID(HWND hWnd);
BOOL IsChild(HWND hWndParent, HWND hWnd);  // any depth

// Copies the class name (as registered, e.g. "SysTreeView32") with a zero byte into lpClassName
// (at most nMaxCount - 1 bytes); returns the number of bytes copied, 0 on failure.
int GetClassNameA(HWND hWnd, LPSTR lpClassName, int nMaxCount);

// This process's id into *lpdwProcessId (may be null); returns the id of the thread that created
// the window. 0 (and *lpdwProcessId untouched) for a window that is not alive.
DWORD GetWindowThreadProcessId(HWND hWnd, DWORD* lpdwProcessId);

// Every live window, for painters and tests: top-level windows in creation order, and the
// children of one window in creation order.
std::vector<HWND> TopLevelWindows();
std::vector<HWND> ChildWindows(HWND hWndParent);

// ---------------------------------------------------------------------------------------------
// Styles and per-window values.

// GWL_STYLE, GWL_EXSTYLE, GWL_ID, GWL_USERDATA (low 32 bits). 0 for a dead window or an unknown
// index. SetWindowLongA returns the previous value; setting GWL_STYLE applies WS_VISIBLE,
// WS_DISABLED and control styles (TVS_EDITLABELS, ES_READONLY ...) at once and sends
// WM_STYLECHANGED (wParam GWL_STYLE or GWL_EXSTYLE, lParam const STYLESTRUCT*).
LONG GetWindowLongA(HWND hWnd, int nIndex);
LONG SetWindowLongA(HWND hWnd, int nIndex, LONG dwNewLong);
// The same with pointer-sized values (GWLP_USERDATA holds a whole pointer).
LONG_PTR GetWindowLongPtrA(HWND hWnd, int nIndex);
LONG_PTR SetWindowLongPtrA(HWND hWnd, int nIndex, LONG_PTR dwNewLong);

struct STYLESTRUCT {
  DWORD styleOld = 0;
  DWORD styleNew = 0;
};

// ---------------------------------------------------------------------------------------------
// Text (GBK). These send WM_SETTEXT / WM_GETTEXT / WM_GETTEXTLENGTH, so a control's own text
// (an edit's content, a rich edit's text) is what they set and get.
BOOL SetWindowTextA(HWND hWnd, LPCSTR lpString);
int GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount);
int GetWindowTextLengthA(HWND hWnd);
// The whole window text in one call (convenience for painters and tests).
std::string GetWindowTextString(HWND hWnd);

// The name an assistive technology (a screen reader) announces for a window whose text is not
// its name, such as a tree or an edit box; what Windows keeps for a window with
// IAccPropServices::SetHwndPropStr(PROPID_ACC_NAME). GBK; reports WindowChange::Name. Empty
// when none was given.
BOOL SetAccessibleName(HWND hWnd, LPCSTR lpName);
std::string GetAccessibleName(HWND hWnd);

// ---------------------------------------------------------------------------------------------
// Geometry.
BOOL MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint);
// Outer rectangle in screen coordinates.
BOOL GetWindowRect(HWND hWnd, RECT* lpRect);
// Client rectangle: left = top = 0.
BOOL GetClientRect(HWND hWnd, RECT* lpRect);
BOOL ClientToScreen(HWND hWnd, POINT* lpPoint);
BOOL ScreenToClient(HWND hWnd, POINT* lpPoint);
// The window's rectangle in its parent's client coordinates (a top-level window: screen
// coordinates), as given to MoveWindow.
BOOL GetWindowPosition(HWND hWnd, RECT* lpRect);
// SM_CXSCREEN, SM_CYSCREEN.
int GetSystemMetrics(int nIndex);
void SetScreenSize(int width, int height);

// ---------------------------------------------------------------------------------------------
// Show state, enabled state, focus.

// SW_HIDE, SW_SHOW..., and for top-level windows SW_MAXIMIZE / SW_SHOWMAXIMIZED, SW_MINIMIZE /
// SW_SHOWMINIMIZED, SW_RESTORE / SW_SHOWNORMAL (which leave maximised or minimised). A maximised
// window covers the screen and remembers its restored rectangle; a minimised one keeps its
// rectangle. Returns whether the window was visible before.
BOOL ShowWindow(HWND hWnd, int nCmdShow);
// Visible itself and every ancestor visible.
BOOL IsWindowVisible(HWND hWnd);
BOOL IsZoomed(HWND hWnd);  // maximised
BOOL IsIconic(HWND hWnd);  // minimised
// Returns whether the window was disabled before.
BOOL EnableWindow(HWND hWnd, BOOL bEnable);
// Enabled itself (WS_DISABLED clear). A window whose parent is disabled takes no input either:
// user_input refuses gestures unless the window and all its ancestors are enabled.
BOOL IsWindowEnabled(HWND hWnd);
// Returns the window that had the focus, 0 when none or when hWnd cannot take it (dead or
// disabled; then the focus stays). SetFocus(0) clears the focus.
HWND SetFocus(HWND hWnd);
HWND GetFocus();

// Asks the painter to redraw the window (reports WindowChange::Content).
BOOL InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase);

// ---------------------------------------------------------------------------------------------
// Window procedures.

// Installs or replaces (same uIdSubclass) a subclass procedure on top of the window's chain.
BOOL SetWindowSubclass(HWND hWnd, SUBCLASSPROC pfnSubclass, UINT_PTR uIdSubclass,
                       DWORD_PTR dwRefData);
BOOL RemoveWindowSubclass(HWND hWnd, UINT_PTR uIdSubclass);
// Inside a subclass procedure: passes the message to the next procedure down the chain.
LRESULT DefSubclassProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
// The platform's default handling (see above).
LRESULT DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
// Calls the window's class procedure directly, bypassing every subclass.
LRESULT CallWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);

// ---------------------------------------------------------------------------------------------
// Messages and the queue. There is one queue (one user-interface thread).

// Synchronous; 0 for a window that is not alive.
LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
// Appends to the queue; hWnd 0 posts a thread message (DispatchMessageA ignores it). FALSE for
// a window that is not alive.
BOOL PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
// Posts WM_QUIT with nExitCode as wParam.
void PostQuitMessage(int nExitCode);
// First lets the host process pending user gestures (Host::ProcessEvents), then looks for the
// first queued message for hWnd (0: any window, and thread messages) within the message range
// (0, 0: all). PM_REMOVE removes it. FALSE when there is none. Never waits.
BOOL PeekMessageA(MSG* lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg);
// Whether messages are queued, without asking the host: QS_POSTMESSAGE in both words when any
// message (posted or thread) waits in the queue, else 0.
inline constexpr UINT QS_POSTMESSAGE = 0x0008;
DWORD GetQueueStatus(UINT flags);
// Removes the next matching message, waiting (Host::WaitForEvents) while there is none. Returns
// 0 for WM_QUIT, -1 when the queue is empty and there is no host to wait for, else nonzero.
BOOL GetMessageA(MSG* lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax);
BOOL TranslateMessage(const MSG* lpMsg);  // nothing to translate; FALSE
// Sends the message to its window; 0 for a thread message or a dead window.
LRESULT DispatchMessageA(const MSG* lpMsg);
// Number of messages waiting (for tests).
std::size_t QueuedMessageCount();

// ---------------------------------------------------------------------------------------------
// For tests: the number of live windows (to check that none is left behind).
std::size_t LiveWindowCount();

}  // namespace kelmor::platform
