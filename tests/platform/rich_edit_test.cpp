#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <utility>

#include "platform/rich_edit.h"
#include "platform/user_input.h"
#include "platform_fixture.h"

namespace kelmor::platform::testing {
namespace {

struct Source {
  std::string bytes;
  std::size_t at = 0;
  std::size_t chunk = 3;  // small, so a double-byte character is split between calls
};

DWORD Read(DWORD_PTR cookie, LPBYTE buffer, LONG cb, LONG* pcb) {
  auto* src = reinterpret_cast<Source*>(cookie);
  const std::size_t n =
      std::min({src->chunk, static_cast<std::size_t>(cb), src->bytes.size() - src->at});
  std::memcpy(buffer, src->bytes.data() + src->at, n);
  src->at += n;
  *pcb = static_cast<LONG>(n);
  return 0;
}

class RichEditTest : public PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    edit = Child(RICHEDIT_CLASSA, ES_MULTILINE | ES_READONLY, 9, 124, 40, 514, 344);
    ASSERT_NE(edit, 0u);
  }

  LRESULT StreamIn(const std::string& text, WPARAM format = SF_TEXT) {
    Source src{text};
    EDITSTREAM es;
    es.dwCookie = reinterpret_cast<DWORD_PTR>(&src);
    es.pfnCallback = Read;
    return SendMessageA(edit, EM_STREAMIN, format, reinterpret_cast<LPARAM>(&es));
  }

  LONG Find(const std::string& what, WPARAM flags, LONG from = 0) {
    FINDTEXTEXA ft;
    ft.chrg.cpMin = from;
    ft.chrg.cpMax = static_cast<LONG>(SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0));
    ft.lpstrText = what.c_str();
    ft.chrgText.cpMin = 0;
    ft.chrgText.cpMax = -1;
    return static_cast<LONG>(
        SendMessageA(edit, EM_FINDTEXTEX, flags, reinterpret_cast<LPARAM>(&ft)));
  }

  HWND edit = 0;
};

TEST_F(RichEditTest, PositionsCountCharactersAndParagraphMarks) {
  EXPECT_EQ(StreamIn("【药物名称】：甘草\r\nAB"), 12);
  EXPECT_EQ(SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0), 12);
  // Selecting 10 .. 14 takes "AB" after the one paragraph mark at 9.
  CHARRANGE r{10, 12};
  SendMessageA(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&r));
  char buf[16] = {};
  SendMessageA(edit, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(buf));
  EXPECT_STREQ(buf, "AB");
  EXPECT_EQ(GetWindowTextString(edit), "【药物名称】：甘草\r\nAB");
  r = CHARRANGE{0, -1};
  SendMessageA(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&r));
  CHARRANGE got;
  SendMessageA(edit, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&got));
  EXPECT_EQ(got.cpMin, 0);
  EXPECT_EQ(got.cpMax, 12);
}

TEST_F(RichEditTest, FindWithCaseAndWholeWord) {
  StreamIn("甘草味甘 Licorice lic\r\n大甘草");
  EXPECT_EQ(Find("甘", FR_DOWN | FR_MATCHCASE), 0);
  EXPECT_EQ(Find("甘", FR_DOWN | FR_MATCHCASE, 1), 3);
  // Each Chinese character is a word of its own, so a term inside Chinese text is whole.
  EXPECT_EQ(Find("甘草", FR_DOWN | FR_WHOLEWORD | FR_MATCHCASE, 1), 19);
  EXPECT_EQ(Find("lic", FR_DOWN | FR_MATCHCASE | FR_WHOLEWORD), 14);
  EXPECT_EQ(Find("LIC", FR_DOWN | FR_WHOLEWORD), 14);  // flags 3: no case
  EXPECT_EQ(Find("LIC", FR_DOWN), 5);
  EXPECT_EQ(Find("LIC", FR_DOWN | FR_MATCHCASE), -1);
  EXPECT_EQ(Find("不在", FR_DOWN), -1);
  FINDTEXTEXA ft;
  ft.chrg = CHARRANGE{0, 100};
  ft.lpstrText = "Licorice";
  ASSERT_EQ(SendMessageA(edit, EM_FINDTEXTEX, FR_DOWN, reinterpret_cast<LPARAM>(&ft)), 5);
  EXPECT_EQ(ft.chrgText.cpMin, 5);
  EXPECT_EQ(ft.chrgText.cpMax, 13);
}

TEST_F(RichEditTest, DefaultAndSelectionFormats) {
  StreamIn("0123456789甘草ABCD");
  CHARFORMATA def;
  def.dwMask = 0xF000001F;
  def.dwEffects = CFE_AUTOCOLOR;
  def.yHeight = 200;
  std::strcpy(def.szFaceName, "宋体");
  ASSERT_TRUE(SendMessageA(edit, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&def)));
  CHARRANGE r{10, 14};
  SendMessageA(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&r));
  CHARFORMATA hl;
  hl.dwMask = 0xF000001F;
  hl.dwEffects = CFE_BOLD;
  hl.yHeight = 180;
  hl.crTextColor = 0x800000;
  std::strcpy(hl.szFaceName, "宋体");
  ASSERT_TRUE(SendMessageA(edit, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&hl)));
  // A later default change reaches the text without a format of its own only.
  def.yHeight = 300;
  SendMessageA(edit, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&def));
  const auto runs = RichEdit::From(edit)->FormatRuns();
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0].length, 10);
  EXPECT_TRUE(runs[0].is_default);
  EXPECT_EQ(runs[0].format.height, 300);
  EXPECT_TRUE(runs[0].format.effects & CFE_AUTOCOLOR);
  EXPECT_EQ(runs[1].start, 10);
  EXPECT_EQ(runs[1].length, 4);
  EXPECT_EQ(runs[1].format.effects & (CFE_BOLD | CFE_AUTOCOLOR), CFE_BOLD);
  EXPECT_EQ(runs[1].format.colour, 0x800000u);
  EXPECT_EQ(runs[1].format.height, 180);
  EXPECT_EQ(runs[1].format.face, "宋体");
  EXPECT_EQ(runs[2].length, 2);
  CHARFORMATA got;
  SendMessageA(edit, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&got));
  EXPECT_EQ(got.yHeight, 300);
  CHARFORMATA small;
  small.cbSize = 20;
  EXPECT_EQ(SendMessageA(edit, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&small)), 0);
}

TEST_F(RichEditTest, StreamingReplacesTextAndDropsFormats) {
  StreamIn("abc");
  CHARRANGE r{0, -1};
  SendMessageA(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&r));
  CHARFORMATA bold;
  bold.dwMask = CFM_BOLD;
  bold.dwEffects = CFE_BOLD;
  SendMessageA(edit, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&bold));
  StreamIn("line1\nline2\r");
  EXPECT_EQ(SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0), 12);
  const auto runs = RichEdit::From(edit)->FormatRuns();
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_TRUE(runs[0].is_default);
  StreamIn("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}A\\par \\'b8\\'ca}", SF_RTF);
  EXPECT_EQ(RichEdit::From(edit)->Text(), "A\r甘");
  StreamIn("");
  EXPECT_EQ(SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0), 0);
}

std::pair<int, int> Zoom(HWND edit) {
  int num = -1, den = -1;
  SendMessageA(edit, EM_GETZOOM, reinterpret_cast<WPARAM>(&num), reinterpret_cast<LPARAM>(&den));
  return {num, den};
}

TEST_F(RichEditTest, ZoomRatiosAreThoseOfTheNativeControl) {
  const struct {
    long long num, den;
    bool taken;
  } cases[] = {{3, 2, true},    {0, 0, true},  {2, 127, true}, {1, 64, false}, {127, 2, true},
               {64, 1, false},  {1, 0, false}, {-1, 2, false}, {0, 5, false},
               {0x7FFFFFFF, 0x7FFFFFFE, true},
               // Terms beyond 32 bits, whose low halves would make 2147483647/1 or 1/1.
               {0x17FFFFFFF, 0x100000001, false}, {0x100000001, 0x100000001, false}};
  for (const auto& c : cases) {
    SendMessageA(edit, EM_SETZOOM, 7, 5);
    EXPECT_EQ(SendMessageA(edit, EM_SETZOOM, static_cast<WPARAM>(c.num), c.den) != 0, c.taken)
        << c.num << "/" << c.den;
    EXPECT_EQ(Zoom(edit), c.taken ? std::make_pair(static_cast<int>(c.num), static_cast<int>(c.den))
                                  : std::make_pair(7, 5));
  }
}

TEST_F(RichEditTest, CtrlWheelAndCtrlKeysZoomInTenPercentStepsAndTheZoomStays) {
  const struct {
    const char* gesture;
    std::function<void()> play;
    std::pair<int, int> zoom;
  } steps[] = {
      {"wheel alone", [&] { TurnWheel(edit, 10, 10, WHEEL_DELTA); }, {0, 0}},
      {"Ctrl+wheel", [&] { TurnWheel(edit, 10, 10, WHEEL_DELTA, kControlKey); }, {110, 100}},
      {"Ctrl+=", [&] { PressKey(edit, VK_OEM_PLUS, 0, kControlKey); }, {120, 100}},
      {"= alone", [&] { PressKey(edit, VK_OEM_PLUS, '='); }, {120, 100}},
      {"Ctrl+keypad -", [&] { PressKey(edit, VK_SUBTRACT, 0, kControlKey); }, {110, 100}},
      {"Ctrl+wheel back 3",
       [&] { TurnWheel(edit, 10, 10, -3 * WHEEL_DELTA, kControlKey); },
       {80, 100}},
      {"Ctrl+wheel 60",
       [&] { TurnWheel(edit, 10, 10, 60 * WHEEL_DELTA, kControlKey); },
       {500, 100}},
      {"new text", [&] { StreamIn("甘草"); }, {500, 100}},
      {"Ctrl+0", [&] { PressKey(edit, VK_0, 0, kControlKey); }, {1, 1}},
      {"Ctrl+wheel back 20",
       [&] { TurnWheel(edit, 10, 10, -20 * WHEEL_DELTA, kControlKey); },
       {10, 100}},
      // A fine wheel: thirds of a notch add up to one step; a turn back starts afresh.
      {"Ctrl+wheel two thirds", [&] { TurnWheel(edit, 10, 10, 80, kControlKey); }, {10, 100}},
      {"Ctrl+wheel back a third", [&] { TurnWheel(edit, 10, 10, -40, kControlKey); }, {10, 100}},
      {"Ctrl+wheel two thirds again",
       [&] { TurnWheel(edit, 10, 10, 80, kControlKey); },
       {10, 100}},
      {"Ctrl+wheel the third third", [&] { TurnWheel(edit, 10, 10, 40, kControlKey); }, {20, 100}},
      {"Ctrl+wheel a notch and a half, then a half",
       [&] { TurnWheel(edit, 10, 10, 180, kControlKey), TurnWheel(edit, 10, 10, 60, kControlKey); },
       {40, 100}},
  };
  for (const auto& step : steps) {
    step.play();
    EXPECT_EQ(Zoom(edit), step.zoom) << step.gesture;
  }
  SendMessageA(edit, EM_SETZOOM, 105, 100);  // between two steps: the next one
  PressKey(edit, VK_ADD, 0, kControlKey);
  EXPECT_EQ(Zoom(edit), std::make_pair(110, 100));
}

// The page's menu offers a command exactly when its key does something; print and export only
// while the page names what it shows, which a new text forgets.
TEST_F(RichEditTest, PageMenuAndKeysOfferTheCommandsThatApply) {
  const auto right_click = [&] {
    host.shown.clear();
    RightClickAt(edit, 5, 5);
    std::vector<std::string> enabled;
    for (const PopupMenuItem& item : host.shown) {
      if (item.enabled) enabled.push_back(item.caption.substr(0, item.caption.find('\t')));
    }
    return enabled;
  };
  const auto printed = [&] {
    const auto codes = Codes(WM_COMMAND);
    return std::count(codes.begin(), codes.end(), EN_PRINTPAGE);
  };
  using Items = std::vector<std::string>;
  StreamIn("麻黄\r辛温");
  EXPECT_EQ(host.shown.size(), 0u);
  EXPECT_EQ(right_click(), Items{"全选"});
  ASSERT_EQ(host.shown.size(), 4u);
  EXPECT_EQ(host.shown[2].caption, "打印…\tCtrl+P");
  EXPECT_EQ(host.shown[3].caption, "导出PDF…");
  PressKey(edit, 'P', 0, kControlKey);
  EXPECT_EQ(printed(), 0);

  PAGEINFOA info;
  info.pszName = "麻黄";
  info.pszHeader = "麻黄 — 中药";
  SendMessageA(edit, EM_SETPAGEINFO, 0, reinterpret_cast<LPARAM>(&info));
  PressKey(edit, 'A', 0, kControlKey);
  EXPECT_EQ(RichEdit::From(edit)->Selection().cpMax, 5);
  EXPECT_EQ(right_click(), (Items{"复制", "全选", "打印…", "导出PDF…"}));
  PressKey(edit, 'C', 0, kControlKey);
  EXPECT_EQ(host.clipboard, std::vector<std::string>{"麻黄\r\n辛温"});
  PressKey(edit, 'P', 0, kControlKey);
  EXPECT_EQ(printed(), 1);
  host.answer_caption = "导出PDF…";
  PressKey(edit, VK_APPS);  // the Menu key: the page's own menu, not its parent's
  EXPECT_EQ(Codes(WM_COMMAND).back(), EN_EXPORTPDF);
  EXPECT_EQ(Codes(WM_CONTEXTMENU).size(), 0u);

  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("甘草"));
  EXPECT_EQ(right_click(), Items{"全选"});
  PressKey(edit, 'P', 0, kControlKey);
  EXPECT_EQ(printed(), 1);
  EXPECT_EQ(RichEdit::From(edit)->PageHeader(), "");
}

}  // namespace
}  // namespace kelmor::platform::testing
