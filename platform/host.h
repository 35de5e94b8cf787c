// The Host: the one who plays the user -- the Qt display in the program, the test driver in the
// tests. The platform layer never waits for a person itself; message boxes, popup menus and
// modal loops ask the current host, and every change of a window is reported to it for
// redrawing. Plain C++; the host's own code (Qt, GoogleTest) stays on its side.
//
// The platform does not own the host: whoever calls SetHost keeps it alive until it sets
// another (or nullptr), and puts the previous one back when it is done. REQUIRES: the one
// user-interface thread; every Host call arrives on it, synchronously.
#pragma once

#include <string>
#include <vector>

#include "platform/win_types.h"

namespace kelmor::platform {

// What changed about a window, so that whoever draws it can redraw just that.
enum class WindowChange {
  Created,
  Destroyed,
  Geometry,   // MoveWindow, size or position
  Text,       // caption or edit text
  Style,      // GetWindowLongA/SetWindowLongA style bits, read-only, visibility, enabled
  Content,    // items of a tree view, list view, combo box; text or formats of a rich edit
  Selection,  // current item, caret, selection range
  Focus,
  Name,  // the accessible name (SetAccessibleName)
};

struct MessageBoxRequest {
  HWND owner = 0;
  std::string text;     // GBK
  std::string caption;  // GBK
  UINT type = 0;        // MB_* flags
};

struct PopupMenuItem {
  UINT id = 0;          // command id returned when chosen
  std::string caption;  // GBK
  bool enabled = true;
};

// The save-file dialog's question (GetSaveFileNameA).
struct SaveFileRequest {
  HWND owner = 0;
  std::string title;      // GBK
  std::string file_name;  // GBK: the name proposed; without a folder it is in the user's documents
  std::string filter;     // GBK: the kind of file, e.g. "PDF 文件 (*.pdf)"
  std::string extension;  // added to a name typed without one, e.g. "pdf"
};

// A rich edit's page to print (platform/page_print.h).
struct PrintRequest {
  HWND page = 0;               // a rich edit with page info (EM_SETPAGEINFO)
  std::string header;          // GBK: printed above the text of every sheet
  std::string file;            // GBK: write the page there as PDF; empty: the system print dialog
  std::string proposed_file;   // GBK: the print dialog's file when it prints to a file
};

enum class PrintOutcome { Printed, Cancelled, Failed };

struct PrintResult {
  PrintOutcome outcome = PrintOutcome::Cancelled;
  std::string file;    // GBK: the file written, or that could not be written
  std::string reason;  // GBK: why it failed
};

// The one who plays the user: the Qt display in the program, a test driver in tests. The platform
// layer itself never waits for a person; it asks the host.
class Host {
 public:
  virtual ~Host() = default;

  // Shows a modal message box and returns IDOK ... IDNO.
  virtual int ShowMessageBox(const MessageBoxRequest& request) = 0;

  // Lets the host handle what the user has already done (pending gestures, painting); returns
  // without waiting.
  virtual void ProcessEvents() = 0;

  // A modal loop has nothing pending but is not finished: block until the user does something.
  // A test driver plays its next scripted step here, and fails the test when none is left.
  virtual void WaitForEvents() = 0;

  // Shows a popup menu at screen position x, y owned by the window; returns the chosen item's id,
  // or 0 when the menu was dismissed.
  virtual UINT TrackPopupMenu(const std::vector<PopupMenuItem>& items, int x, int y, HWND owner) = 0;

  // Asks for the name of a file to write; the chosen name (GBK), empty when cancelled. The host
  // confirms replacing an existing file. The default cancels.
  virtual std::string AskSaveFileName(const SaveFileRequest& /*request*/) { return {}; }

  // Prints a page: to `request.file` as PDF (A4), or through the system print dialog. A file is
  // written through WriteFileReplacingA (platform/file_copy.h), so a failure leaves nothing
  // half written. The default prints nothing (Cancelled).
  virtual PrintResult PrintPage(const PrintRequest& /*request*/) { return {}; }

  // The clipboard's text changed (GBK, paragraph marks as CR LF); the default does nothing.
  virtual void ClipboardChanged(const std::string& /*text*/) {}

  // Notifications for redrawing; the default does nothing.
  virtual void WindowChanged(HWND /*window*/, WindowChange /*change*/) {}
  virtual void CursorChanged(HANDLE /*cursor*/) {}
};

// The current host (not owned). Without one, message boxes answer their first button, popup
// menus are dismissed and waiting returns at once.
void SetHost(Host* host);
Host* CurrentHost();

}  // namespace kelmor::platform
