#include <QAbstractButton>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>
#include <QWheelEvent>
#include <QWindow>
#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <utility>
#include <vector>

#include "display/fonts.h"
#include "display/message_dialog.h"
#include "display/qt_text.h"
#include "display_fixture.h"
#include "platform/image_list.h"
#include "platform/message_box.h"
#include "platform/user_input.h"

namespace kelmor::display::test {
namespace {

using namespace kelmor::platform;

// ---- Texts and fonts -----------------------------------------------------------------------

TEST(QtText, BadBytesBecomeReplacementCharactersNotAnEmptyText) {
  std::string gbk = Gbk("中药");
  gbk += '\x81';  // a lead byte cut off at the end
  const QString shown = ToQString(gbk);
  EXPECT_EQ(shown, QStringLiteral(u"中药") + QChar(QChar::ReplacementCharacter));
}

TEST(QtText, TypedCharactersThatGbkCannotHoldAreLeftOutAndReported) {
  const TypedText t = FromTyped(QStringLiteral(u"甘草😀x"));
  EXPECT_EQ(t.gbk, Gbk("甘草x"));
  EXPECT_EQ(t.rejected, QStringLiteral(u"😀"));
  EXPECT_FALSE(ToGbk(QStringLiteral(u"😀")).has_value());
  EXPECT_TRUE(UnrepresentableMessage(t.rejected).contains(QStringLiteral(u"😀")));
}

TEST(Fonts, SongNameResolvesToTheSongFontAndCoversChineseText) {
  const QFont song(QStringLiteral(u"宋体"));
  EXPECT_EQ(QFontInfo(song).family(), SongFamily());
  EXPECT_EQ(QFontInfo(QFont(QStringLiteral("SimSun"))).family(), SongFamily());
  const QFontMetrics metrics(SongFontPixels(16));
  for (QChar c : QStringLiteral(u"【药物名称】：甘草中药药方确认输入取消"))
    EXPECT_TRUE(metrics.inFontUcs4(c.unicode())) << int(c.unicode());
}

// ---- Message box ---------------------------------------------------------------------------

// Presses `which` in the next modal message box.
void AnswerNextBox(QMessageBox::StandardButton which) {
  QTimer::singleShot(0, [which] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    box->button(which)->click();
  });
}

TEST(MessageBox, ButtonsIconAndAnswersFollowTheFlags) {
  MessageBoxRequest ask{0, Gbk("你确定要修改[甘草]吗？"), Gbk("提示"), MB_YESNO};
  auto box = BuildMessageBox(ask);
  EXPECT_EQ(box->windowTitle(), QStringLiteral(u"提示"));
  EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
  AnswerNextBox(QMessageBox::No);
  EXPECT_EQ(RunMessageBox(ask), IDNO);
  AnswerNextBox(QMessageBox::Yes);
  EXPECT_EQ(RunMessageBox(ask), IDYES);

  MessageBoxRequest stop{0, Gbk("出错"), Gbk("信息："), MB_ICONHAND};
  EXPECT_EQ(BuildMessageBox(stop)->icon(), QMessageBox::Critical);
  AnswerNextBox(QMessageBox::Ok);
  EXPECT_EQ(RunMessageBox(stop), IDOK);
}

// ---- Gestures on rendered widgets reach the platform's notifications -----------------------

TEST_F(DisplayTest, ClickOnRenderedButtonIsTheDriversClick) {
  const HWND frame = Frame(300, 200);
  const HWND button = Child(frame, WC_BUTTONA, "查询", BS_PUSHBUTTON, 8, 8, 80, 20, 7);
  auto* qt = WidgetOf<QPushButton>(button);
  ASSERT_NE(qt, nullptr);
  EXPECT_EQ(qt->text(), QStringLiteral(u"查询"));
  QTest::mouseClick(qt, Qt::LeftButton);
  ASSERT_EQ(Count(BN_CLICKED), 1);
  EXPECT_EQ(seen_.back().from, button);
  ClickButton(button);  // the test driver's path
  EXPECT_EQ(Count(BN_CLICKED), 2);
}

// What an owned window's native window is owned by at the moment it is first shown.
class ShowProbe : public QObject {
 public:
  bool eventFilter(QObject* object, QEvent* event) override {
    if (event->type() == QEvent::Show && !shown) {
      shown = true;
      const QWindow* window = static_cast<QWidget*>(object)->windowHandle();
      owner = window != nullptr ? window->transientParent() : nullptr;
    }
    return false;
  }
  bool shown = false;
  const QWindow* owner = nullptr;
};

// A window manager learns the owner of a dialog when it first maps it; told later, it frames the
// window anew while it is on the screen, and a click on the close box in that moment is lost.
TEST_F(DisplayTest, AnOwnedWindowIsOwnedBeforeItIsFirstShown) {
  const HWND owner = Frame(400, 300);
  const HWND owned =
      CreateWindowExA(WS_EX_DLGMODALFRAME, FRAME_CLASSA, "Owned",
                      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 120, 120, 200, 100, owner, 0);
  QWidget* qt = WidgetOf<QWidget>(owned);
  ASSERT_NE(qt, nullptr);
  ShowProbe probe;
  qt->installEventFilter(&probe);
  ShowWindow(owned, SW_SHOW);
  Settle();
  ASSERT_TRUE(probe.shown);
  EXPECT_EQ(probe.owner, WidgetOf<QWidget>(owner)->windowHandle());
}

TEST_F(DisplayTest, GeometryMatchesThePlatformRectangles) {
  const HWND frame = Frame(650, 443);
  const HWND tree = Child(frame, WC_TREEVIEWA, "", 0, 0, 40, 120, 368);
  QWidget* top = WidgetOf<QWidget>(frame);
  ASSERT_NE(top, nullptr);
  RECT client;
  GetClientRect(frame, &client);
  EXPECT_EQ(top->size(), QSize(650 - 2 * kFrameBorder, 443 - 2 * kFrameBorder - kCaptionHeight));
  EXPECT_EQ(top->size(), QSize(client.right, client.bottom));
  EXPECT_EQ(WidgetOf<QWidget>(tree)->geometry(), QRect(0, 40, 120, 368));
  MoveWindow(tree, 0, 40, 200, 300, TRUE);
  EXPECT_EQ(WidgetOf<QWidget>(tree)->geometry(), QRect(0, 40, 200, 300));
}

HTREEITEM Insert(HWND tree, HTREEITEM parent, const char* text_utf8, UINT state = 0) {
  std::string text = Gbk(text_utf8);
  TVINSERTSTRUCTA ins;
  ins.hParent = parent;
  ins.hInsertAfter = TVI_LAST;
  ins.item.mask = TVIF_TEXT | TVIF_STATE | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  ins.item.pszText = text.data();
  ins.item.state = state;
  ins.item.stateMask = 0xF030;
  ins.item.iImage = parent == 0 ? 0 : 1;
  ins.item.iSelectedImage = 1;
  return static_cast<HTREEITEM>(
      SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
}

QRect ItemRect(QTreeWidget* qt, HTREEITEM h) {
  for (QTreeWidgetItemIterator it(qt); *it; ++it) {
    if ((*it)->data(0, Qt::UserRole + 1).value<qulonglong>() == h) return qt->visualItemRect(*it);
  }
  return {};
}

TEST_F(DisplayTest, DoubleClickAndLabelEditOnRenderedTree) {
  const HWND frame = Frame(300, 300);
  const HWND tree =
      Child(frame, WC_TREEVIEWA, "",
            TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_EDITLABELS, 0, 0, 200, 250, 3);
  const HTREEITEM cat = Insert(tree, 0, "解表药", TVIS_BOLD | TVIS_EXPANDED);
  const HTREEITEM herb = Insert(tree, cat, "麻黄");
  SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, cat);
  auto* qt = WidgetOf<QTreeWidget>(tree);
  ASSERT_NE(qt, nullptr);
  ASSERT_EQ(qt->topLevelItemCount(), 1);
  EXPECT_TRUE(qt->topLevelItem(0)->font(0).bold());
  EXPECT_EQ(qt->topLevelItem(0)->child(0)->text(0), QStringLiteral(u"麻黄"));

  const QPoint at = ItemRect(qt, herb).center();
  QTest::mouseDClick(qt->viewport(), Qt::LeftButton, {}, at);
  EXPECT_EQ(Count(NM_DBLCLK), 1);
  EXPECT_EQ(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0), static_cast<LRESULT>(herb));

  // The label edit: begun by the platform, typed in Qt's editor, ended through the platform.
  ASSERT_TRUE(BeginLabelEdit(tree, herb));
  Settle();
  QLineEdit* editor = nullptr;  // the one shown (a closed one may wait to be deleted)
  for (QLineEdit* e : qt->findChildren<QLineEdit*>()) editor = e->isVisible() ? e : editor;
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->text(), QStringLiteral(u"麻黄"));
  editor->selectAll();
  QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral(u"桂枝"));
  QApplication::sendEvent(editor, &typed);
  QTest::keyClick(editor, Qt::Key_Return);
  Settle();
  EXPECT_EQ(Count(TVN_ENDLABELEDITA), 1);
  EXPECT_EQ(SendMessageA(tree, TVM_GETEDITCONTROL, 0, 0), 0);
}

// A chain of categories as deep as another tool may store: Qt's own layout of it, expanded,
// overflowed the stack at start-up. Every item must stay shown, in tree order, and reachable.
TEST_F(DisplayTest, AChainTooDeepForQtIsShownWholeAndClickable) {
  constexpr int kDepth = 30000;
  const HWND frame = Frame(300, 300);
  const HWND tree = Child(frame, WC_TREEVIEWA, "", TVS_HASLINES | TVS_HASBUTTONS, 0, 0, 200, 250, 3);
  std::vector<HTREEITEM> chain;
  for (int level = 1; level <= kDepth; ++level)
    chain.push_back(Insert(tree, chain.empty() ? 0 : chain.back(),
                           std::to_string(level).c_str(), TVIS_EXPANDED));
  SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, chain.back());
  auto* qt = WidgetOf<QTreeWidget>(tree);
  ASSERT_NE(qt, nullptr);
  int shown = 0, deepest = 0;
  for (QTreeWidgetItemIterator it(qt); *it; ++it, ++shown) {
    ASSERT_EQ((*it)->text(0), QString::number(shown + 1));
    int depth = 1;
    for (QTreeWidgetItem* p = (*it)->parent(); p != nullptr; p = p->parent()) ++depth;
    deepest = std::max(deepest, depth);
  }
  EXPECT_EQ(shown, kDepth);
  EXPECT_LT(deepest, 1000);
  ASSERT_NE(qt->currentItem(), nullptr);
  EXPECT_EQ(qt->currentItem()->text(0), QString::number(kDepth));
  // The selected label is scrolled to sideways; a click on the one above it lands there.
  const QRect label = ItemRect(qt, chain[kDepth - 2]);
  EXPECT_TRUE(qt->viewport()->rect().contains(label.topLeft())) << label.x();
  QTest::mouseClick(qt->viewport(), Qt::LeftButton, {}, label.topLeft() + QPoint(4, 4));
  EXPECT_EQ(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0),
            static_cast<LRESULT>(chain[kDepth - 2]));
}

void SetCell(HWND list, int row, int column, const std::string& gbk) {
  std::string text = gbk;
  LVITEMA item;
  item.iItem = row;
  item.iSubItem = column;
  item.mask = LVIF_TEXT;
  item.pszText = text.data();
  if (column == 0) {
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  } else {
    SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
  }
}

int SelectedRow(HWND list) {
  return static_cast<int>(
      SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

// The results list: Qt reads the control's rows as it draws them, however many there are and
// however they change while shown; gestures on the drawn rows take the platform's path.
TEST_F(DisplayTest, RenderedListFollowsTheControlsRowsColumnsAndSelection) {
  const HWND frame = Frame(500, 300);
  const HWND list = Child(frame, WC_LISTVIEWA, "", WS_TABSTOP | LVS_REPORT, 0, 0, 480, 250, 9);
  const std::pair<const char*, int> columns[] = {{"类别", 80}, {"名称", 120}, {"功效", 280}};
  for (int c = 0; c < 3; ++c) {
    std::string caption = Gbk(columns[c].first);
    LVCOLUMNA col;
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.cx = columns[c].second;
    col.pszText = caption.data();
    SendMessageA(list, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&col));
  }
  const auto add_rows = [&](int from, int to) {
    for (int r = from; r < to; ++r) {
      SetCell(list, r, 0, Gbk("解表药"));
      SetCell(list, r, 1, "h" + std::to_string(r));
    }
  };
  add_rows(0, 3);
  const std::string long_summary(1500, 'x');  // longer than any fixed buffer
  SetCell(list, 0, 2, long_summary);
  auto* qt = WidgetOf<QTableView>(list);
  ASSERT_NE(qt, nullptr);
  QAbstractItemModel* rows = qt->model();
  const auto cell = [&](int r, int c) { return rows->data(rows->index(r, c)).toString(); };
  EXPECT_EQ(rows->headerData(2, Qt::Horizontal).toString(), QStringLiteral(u"功效"));
  EXPECT_EQ(qt->columnWidth(0), 80);
  EXPECT_EQ(qt->columnWidth(2), 280);
  EXPECT_EQ(cell(0, 2), QString::fromStdString(long_summary));

  // The list goes on filling while shown; a cell changes in place.
  add_rows(3, 50000);
  SetCell(list, 1, 1, Gbk("麻黄"));
  Settle();
  ASSERT_EQ(rows->rowCount(), 50000);
  EXPECT_EQ(cell(49999, 0), QStringLiteral(u"解表药"));
  EXPECT_EQ(cell(1, 1), QStringLiteral(u"麻黄"));
  EXPECT_EQ(qt->columnWidth(1), 120);

  LVITEMA state;
  state.stateMask = state.state = LVIS_SELECTED;
  SendMessageA(list, LVM_SETITEMSTATE, 49998, reinterpret_cast<LPARAM>(&state));
  Settle();
  ASSERT_EQ(qt->selectionModel()->selectedRows().size(), 1);
  EXPECT_EQ(qt->selectionModel()->selectedRows()[0].row(), 49998);

  qt->scrollToTop();
  QTest::mouseDClick(qt->viewport(), Qt::LeftButton, {},
                     qt->visualRect(rows->index(1, 1)).center());
  EXPECT_EQ(Count(NM_DBLCLK), 1);
  EXPECT_EQ(SelectedRow(list), 1);
  QTest::keyClick(qt, Qt::Key_Down);
  EXPECT_EQ(Count(LVN_KEYDOWN), 1);
  EXPECT_EQ(SelectedRow(list), 2);
  Settle();
  EXPECT_EQ(qt->selectionModel()->selectedRows()[0].row(), 2);

  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  add_rows(0, 1);
  Settle();
  EXPECT_EQ(rows->rowCount(), 1);
  EXPECT_TRUE(qt->selectionModel()->selectedRows().isEmpty());
}

TEST_F(DisplayTest, SplitterDragRaisesMovedWithTheNewLeft) {
  const HWND frame = Frame(650, 443);
  const HWND splitter = Child(frame, SPLITTER_CLASSA, "", 0, 120, 40, 4, 368, 5);
  QWidget* bar = WidgetOf<QWidget>(splitter);
  ASSERT_NE(bar, nullptr);
  QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(2, 100));
  // The mouse moves 60 pixels right; the bar follows it while dragging.
  const QPointF target = bar->mapToGlobal(QPointF(62, 100));
  QMouseEvent move(QEvent::MouseMove, QPointF(62, 100), target, Qt::NoButton, Qt::LeftButton,
                   Qt::NoModifier);
  QApplication::sendEvent(bar, &move);
  EXPECT_EQ(bar->x(), 180);
  QTest::mouseRelease(bar, Qt::LeftButton, {}, bar->mapFromGlobal(target).toPoint());
  ASSERT_EQ(Count(SPN_MOVED), 1);
  EXPECT_EQ(seen_.back().pos, 180);
  EXPECT_EQ(WidgetOf<QWidget>(splitter)->x(), 180);
}

TEST_F(DisplayTest, KeysPressedInRenderedWidgetsTakeThePlatformsPath) {
  const HWND frame = Frame(400, 300);
  const HWND edit = Child(frame, WC_EDITA, "", WS_TABSTOP, 8, 8, 100, 20, 11);
  const HWND tree = Child(frame, WC_TREEVIEWA, "", WS_TABSTOP, 8, 40, 200, 200, 12);
  SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, Insert(tree, 0, "解表药"));
  auto* qt_edit = WidgetOf<QLineEdit>(edit);
  auto* qt_tree = WidgetOf<QTreeWidget>(tree);
  ASSERT_TRUE(qt_edit && qt_tree);
  QTest::keyClick(qt_edit, Qt::Key_Tab);
  Settle();
  EXPECT_EQ(GetFocus(), tree);
  EXPECT_EQ(qt_tree->window()->focusWidget(), qt_tree);  // Qt's focus follows the platform's
  QTest::keyClick(qt_tree, Qt::Key_Return);
  EXPECT_EQ(Count(TVN_KEYDOWN), 1);
  QTest::keyClick(qt_tree, Qt::Key_Menu);
  QTest::keyClick(qt_tree, Qt::Key_F10, Qt::ShiftModifier);
  EXPECT_EQ(std::count_if(seen_.begin(), seen_.end(),
                          [&](const Notification& n) {
                            return n.message == WM_CONTEXTMENU && n.from == tree && n.pos == -1;
                          }),
            2);
  seen_.clear();
  QTest::keyClick(qt_tree, Qt::Key_Escape);  // the window's Escape: IDCANCEL
  ASSERT_EQ(seen_.size(), 1u);
  EXPECT_EQ(seen_[0].message, WM_COMMAND);
  EXPECT_EQ(seen_[0].from, 0u);
}

TEST_F(DisplayTest, CtrlWheelZoomsThePageOnTopOfItsCharacterSize) {
  const HWND frame = Frame(400, 300);
  const HWND rich =
      Child(frame, RICHEDIT_CLASSA, "", ES_MULTILINE | ES_READONLY, 0, 0, 380, 250, 4);
  auto set_default_size = [&](int points) {
    CHARFORMATA def;
    def.dwMask = CFM_SIZE;
    def.yHeight = points * 20;
    SendMessageA(rich, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&def));
  };
  set_default_size(10);
  SetWindowTextA(rich, Gbk("甘草").c_str());
  auto* qt = WidgetOf<QTextEdit>(rich);
  ASSERT_NE(qt, nullptr);
  auto shown_points = [&] {
    Settle();
    QTextCursor c(qt->document());
    c.setPosition(1);
    return c.charFormat().font().pointSizeF();
  };
  // A fine wheel's half notches, then a sideways turn that zooms nothing and goes on.
  auto wheel = [&](QPoint delta) {
    QWheelEvent e(QPointF(20, 20), qt->viewport()->mapToGlobal(QPointF(20, 20)), QPoint(), delta,
                  Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(qt->viewport(), &e);
    return e.isAccepted();
  };
  EXPECT_TRUE(wheel(QPoint(0, 60)));
  EXPECT_TRUE(wheel(QPoint(0, 60)));
  EXPECT_FALSE(wheel(QPoint(120, 0)));
  int num = 0, den = 0;
  SendMessageA(rich, EM_GETZOOM, reinterpret_cast<WPARAM>(&num), reinterpret_cast<LPARAM>(&den));
  EXPECT_EQ(std::make_pair(num, den), std::make_pair(110, 100));
  EXPECT_DOUBLE_EQ(shown_points(), 11.0);
  QTest::keyClick(qt, Qt::Key_Minus, Qt::ControlModifier);
  EXPECT_DOUBLE_EQ(shown_points(), 10.0);
  // The maximised window's 15 points, zoomed.
  SendMessageA(rich, EM_SETZOOM, 3, 2);
  set_default_size(15);
  EXPECT_DOUBLE_EQ(shown_points(), 22.5);
}

// The Song font has no bold face. Qt's own emboldening is strong on its small bitmaps and faint
// on the outlines drawn at twice the scale (QT_SCALE_FACTOR=2), where the categories looked
// regular: bold items must weigh about as much more than regular ones at both scales, and no
// more (an outline of Qt's emboldened glyphs smears them past their cells).
TEST_F(DisplayTest, BoldItemsOfTheSongFontStayBoldAtTwiceTheScale) {
  const HWND frame = Frame(300, 200);
  const HWND tree = Child(frame, WC_TREEVIEWA, "", 0, 0, 0, 200, 150, 3);
  const HTREEITEM regular = Insert(tree, 0, "解表药");
  const HTREEITEM bold = Insert(tree, 0, "解表药", TVIS_BOLD);
  auto* qt = WidgetOf<QTreeWidget>(tree);
  ASSERT_NE(qt, nullptr);
  // The bold item's ink to the regular one's; `edge` gets the bold ink in the top or bottom row
  // of its cell as a share of its darkest row: text the cell cuts runs dark across that row.
  auto bold_to_regular = [&](int scale, double& edge) {
    QImage image(qt->size() * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    qt->render(&image);
    auto ink_rows = [&](HTREEITEM item) {
      const QRect r = ItemRect(qt, item).translated(qt->viewport()->pos());
      std::vector<long> rows;
      for (int y = scale * r.top(); y < scale * (r.top() + r.height()); ++y) {
        rows.push_back(0);
        for (int x = scale * r.left(); x < scale * (r.left() + r.width()); ++x)
          rows.back() += qGray(image.pixel(x, y)) < 128;
      }
      return rows;
    };
    const std::vector<long> b = ink_rows(bold), g = ink_rows(regular);
    edge = static_cast<double>(std::max(b.front(), b.back())) /
           static_cast<double>(*std::max_element(b.begin(), b.end()));
    return static_cast<double>(std::accumulate(b.begin(), b.end(), 0L)) /
           static_cast<double>(std::accumulate(g.begin(), g.end(), 0L));
  };
  double edge_at_one = 0, edge_at_two = 0;
  const double at_one = bold_to_regular(1, edge_at_one);
  const double at_two = bold_to_regular(2, edge_at_two);
  EXPECT_GT(at_one, 1.5);
  EXPECT_GT(at_two, 0.85 * at_one);
  EXPECT_LT(at_two, 2.6);  // about 2.2; an outline of the emboldened face weighs nearly 3
  EXPECT_LT(edge_at_one, 0.2);
  EXPECT_LT(edge_at_two, 0.2);
}

// ---- Rendering ------------------------------------------------------------------------------

void ExpectCovered(QWidget* w, const QFont& font, const QString& text) {
  const QFontInfo info(font);
  QFont resolved(info.family());
  const QFontMetrics metrics(resolved);
  for (QChar c : text) {
    if (c.isSpace() || c == QChar::ParagraphSeparator) continue;
    EXPECT_TRUE(metrics.inFontUcs4(c.unicode()))
        << w->metaObject()->className() << " " << info.family().toStdString() << " "
        << int(c.unicode());
  }
}

TEST_F(DisplayTest, DemoWindowRendersChineseInTheSongFont) {
  const HWND frame = Frame(420, 260, "【Kelmor】");
  const HWND tree = Child(frame, WC_TREEVIEWA, "",
                          TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS, 0,
                          30, 130, 200, 1);
  SendMessageA(tree, TVM_SETTEXTCOLOR, 0, 0x800000);
  SendMessageA(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, ImageList_Create(16, 15, 0, 2, 0));
  const HTREEITEM cat = Insert(tree, 0, "解表药", TVIS_BOLD);
  Insert(tree, cat, "麻黄");
  const HTREEITEM second = Insert(tree, cat, "桂枝");
  SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, cat);
  SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, second);
  const HWND combo = Child(frame, WC_COMBOBOXA, "", CBS_DROPDOWNLIST, 8, 4, 120, 20, 2);
  for (const char* f : {"药物名称", "功能主治"})
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Gbk(f).c_str()));
  SendMessageA(combo, CB_SETCURSEL, 0, 0);
  const HWND rich = Child(frame, RICHEDIT_CLASSA, "", WS_VSCROLL | ES_MULTILINE | ES_READONLY, 134,
                          30, 270, 200, 4);
  SendMessageA(rich, EM_SETBKGNDCOLOR, TRUE, 0);
  CHARFORMATA def;
  def.dwMask = CFM_FACE | CFM_SIZE | CFM_COLOR | CFM_BOLD;
  def.dwEffects = CFE_AUTOCOLOR;
  def.yHeight = 10 * 20;
  std::snprintf(def.szFaceName, sizeof def.szFaceName, "%s", Gbk("宋体").c_str());
  SendMessageA(rich, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&def));
  SetWindowTextA(rich, Gbk("【药物名称】：桂枝\r\n【功能主治】：发汗解肌，温通经脉。").c_str());
  CHARRANGE label{0, 7};
  SendMessageA(rich, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&label));
  CHARFORMATA bold = def;
  bold.dwMask = CFM_BOLD | CFM_COLOR;
  bold.dwEffects = CFE_BOLD;
  bold.crTextColor = 0x0000C0;
  SendMessageA(rich, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&bold));

  auto* qt_tree = WidgetOf<QTreeWidget>(tree);
  auto* qt_rich = WidgetOf<QTextEdit>(rich);
  auto* qt_combo = WidgetOf<QComboBox>(combo);
  ASSERT_TRUE(qt_tree && qt_rich && qt_combo);
  EXPECT_EQ(qt_tree->palette().color(QPalette::Text), QColor(0, 0, 0x80));
  EXPECT_EQ(QFontInfo(qt_tree->font()).family(), SongFamily());
  EXPECT_EQ(qt_tree->font().pixelSize(), 16);
  EXPECT_EQ(qt_combo->currentText(), QStringLiteral(u"药物名称"));
  EXPECT_TRUE(qt_rich->toPlainText().startsWith(QStringLiteral(u"【药物名称】：桂枝")));
  QTextCursor c(qt_rich->document());
  c.setPosition(1);
  EXPECT_TRUE(c.charFormat().font().bold());
  EXPECT_EQ(QFontInfo(c.charFormat().font()).family(), SongFamily());
  EXPECT_DOUBLE_EQ(c.charFormat().font().pointSizeF(), 10.0);

  for (QTreeWidgetItemIterator it(qt_tree); *it; ++it)
    ExpectCovered(qt_tree, (*it)->font(0), (*it)->text(0));
  ExpectCovered(qt_combo, qt_combo->font(), qt_combo->currentText());
  ExpectCovered(qt_rich, c.charFormat().font(), qt_rich->toPlainText());

  QWidget* top = WidgetOf<QWidget>(frame);
  const QString path = QStringLiteral(KELMOR_TEST_OUTPUT_DIR "/demo_window.png");
  EXPECT_TRUE(top->grab().save(path));
  // KELMOR_DEMO_HOLD_MS keeps the window on screen for a look under a real display server.
  if (const char* hold = std::getenv("KELMOR_DEMO_HOLD_MS")) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < std::atoi(hold))
      QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  }
}

}  // namespace
}  // namespace kelmor::display::test
