// The rich edit ("RichEdit20A"). Its text is a sequence of characters (an ASCII byte or a GBK
// double-byte character each; every paragraph mark, given as CR, LF or CR LF, is one CR), so
// every position counts characters. Each character either follows the default character format
// or carries a format of its own (set with EM_SETCHARFORMAT SCF_SELECTION or SCF_ALL); changing
// the default format (SCF_DEFAULT) therefore changes all text that has no format of its own.
// Whole-word search treats every double-byte character as a word of its own, so a Chinese term
// is found inside Chinese text; ASCII letters, digits and '_' form words.
//
// The page's own menu (WM_CONTEXTMENU: a right click, Shift+F10, the Menu key) and keys are
// described with EM_SETPAGEINFO in platform/commctrl.h; a command is offered in the menu exactly
// when its key does something.
//
// Zoom scales how the text is shown (EM_SETZOOM / EM_GETZOOM in platform/commctrl.h); it is
// kept when the text is replaced. The user zooms with Ctrl+wheel and with Ctrl and + or - (the
// =+ and -_ keys or the keypad's) in steps of 10 percent between 10 and 500 percent, and goes
// back to 1/1 with Ctrl+0. Wheel turns smaller than a notch (WHEEL_DELTA) add up: each
// notch's worth is one step.
#pragma once

#include <string>
#include <vector>

#include "platform/gbk_chars.h"
#include "platform/window_object.h"

namespace kelmor::platform {

struct RichEditFormat {
  std::string face;     // GBK, at most 31 bytes
  LONG height = 0;      // twips
  LONG offset = 0;      // twips
  DWORD effects = 0;    // CFE_* including CFE_AUTOCOLOR
  COLORREF colour = 0;  // when CFE_AUTOCOLOR is clear
  BYTE charset = 0;
  BYTE pitch_and_family = 0;
  bool operator==(const RichEditFormat&) const = default;
};

// A stretch of characters with one effective format.
struct RichEditRun {
  LONG start = 0;
  LONG length = 0;
  bool is_default = true;  // follows the default format
  RichEditFormat format;   // the effective format
};

class RichEdit : public WindowObject {
 public:
  RichEdit();
  static RichEdit* From(HWND hwnd) { return WindowAs<RichEdit>(hwnd); }

  LRESULT ClassProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

  std::string Text() const;  // GBK, paragraph marks as CR
  LONG Length() const { return static_cast<LONG>(chars_.size()); }
  CHARRANGE Selection() const { return CHARRANGE{sel_min_, sel_max_}; }
  const RichEditFormat& DefaultFormat() const { return default_; }
  RichEditFormat FormatAt(LONG pos) const;
  std::vector<RichEditRun> FormatRuns() const;
  COLORREF BackgroundColour() const { return background_; }
  // The zoom as a factor (1 when there is none).
  double Zoom() const { return zoom_den_ > 0 ? static_cast<double>(zoom_num_) / zoom_den_ : 1.0; }
  bool SystemBackground() const { return system_background_; }
  // What the page shows, for printing (EM_SETPAGEINFO); empty while it names nothing.
  const std::string& PageName() const { return page_name_; }
  const std::string& PageHeader() const { return page_header_; }
  bool Printable() const { return !page_name_.empty(); }

 private:
  static void Merge(RichEditFormat& f, const CHARFORMATA& cf);
  static void Fill(const RichEditFormat& f, CHARFORMATA& cf);
  int Intern(const RichEditFormat& f);
  void Replace(LONG from, LONG to, const std::vector<GbkChar>& with, int format);
  void SetSel(LONG a, LONG b);
  LONG Find(WPARAM flags, CHARRANGE range, const char* what, CHARRANGE* found) const;
  void TextChanged();
  LRESULT SetZoom(WPARAM numerator, LPARAM denominator);
  void ZoomStep(int steps);
  LRESULT KeyDown(WPARAM key);
  LRESULT Wheel(WPARAM wParam);

  // Message handlers.
  std::string TextWithLineBreaks() const;
  std::string TextOf(LONG from, LONG to) const;
  void ResetText(std::vector<GbkChar> chars);
  void ReplaceSelectionTyped(const std::vector<GbkChar>& in);
  void MergeInto(LONG from, LONG to, const CHARFORMATA& cf);
  LRESULT SetText(LPARAM text);
  LRESULT GetText(WPARAM size, LPARAM buffer) const;
  LRESULT StreamIn(WPARAM format, EDITSTREAM* es);
  LRESULT StreamOut(EDITSTREAM* es) const;
  LRESULT SetSelMessage(WPARAM from, LPARAM to);
  LRESULT ExSetSel(const CHARRANGE* r);
  LRESULT ExGetSel(CHARRANGE* r) const;
  LRESULT GetSel(WPARAM min, LPARAM max) const;
  LRESULT ReplaceSel(LPARAM text);
  LRESULT GetSelText(LPARAM buffer) const;
  LRESULT GetTextRange(TEXTRANGEA* tr) const;
  LRESULT SetCharFormat(WPARAM scope, const CHARFORMATA* cf);
  LRESULT GetCharFormat(WPARAM scope, CHARFORMATA* cf) const;
  LRESULT FindTextEx(WPARAM flags, FINDTEXTEXA* ft) const;
  LRESULT FindText(WPARAM flags, const FINDTEXTA* ft) const;
  LRESULT SetReadOnly(WPARAM on);
  LRESULT SetBackgroundColour(WPARAM use_system, LPARAM colour);
  LRESULT SetEventMask(LPARAM mask);
  LRESULT LineFromChar(LPARAM pos) const;
  LRESULT LineCount() const;
  LRESULT Char(WPARAM ch);
  LRESULT ButtonDown();
  LRESULT GetZoom(WPARAM numerator, LPARAM denominator) const;
  LRESULT SetPageInfo(const PAGEINFOA* info);
  LRESULT Copy() const;
  LRESULT RightButtonUp(LPARAM client_point);
  LRESULT ContextMenu(WPARAM window, LPARAM screen_point);
  bool CommandEnabled(UINT command) const;
  void RunCommand(UINT command);

  std::vector<GbkChar> chars_;
  std::vector<int> formats_;  // per character: -1 default, else index into table_
  std::vector<RichEditFormat> table_;
  RichEditFormat default_;
  int insertion_format_ = -1;
  LONG sel_min_ = 0;
  LONG sel_max_ = 0;
  DWORD event_mask_ = 0;
  COLORREF background_ = 0xFFFFFF;
  bool system_background_ = true;
  int zoom_num_ = 0;
  int zoom_den_ = 0;
  int wheel_rest_ = 0;  // Ctrl+wheel turned since the last whole notch, signed
  std::string page_name_;
  std::string page_header_;
};

}  // namespace kelmor::platform
