// What a screen reader finds through Qt's accessibility API: the names and roles of the
// program's own windows, text given through the editable-text interface, and the popup menu
// and the label editor while they are shown.
#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <memory>

#include "app/application.h"
#include "display_fixture.h"
#include "platform/user_input.h"
#include "runtime/dialogs.h"
#include "runtime/window_commands.h"
#include "runtime/window_framework.h"
#include "sqlite_access/sqlite_db.h"
#include "tests/support/schema.h"
#include "tests/support/temp_dir.h"

namespace kelmor::display::test {
namespace {

using namespace kelmor::platform;

QAccessibleInterface* Accessible(QWidget* widget) {
  return widget == nullptr ? nullptr : QAccessible::queryAccessibleInterface(widget);
}

// The first interface below `root` (itself included) that satisfies `match`, depth first.
QAccessibleInterface* FindBelow(QAccessibleInterface* root,
                                const std::function<bool(QAccessibleInterface*)>& match) {
  if (root == nullptr || match(root)) return root;
  for (int i = 0; i < root->childCount(); ++i) {
    if (QAccessibleInterface* found = FindBelow(root->child(i), match)) return found;
  }
  return nullptr;
}

// ---- The three windows -----------------------------------------------------------------------

class ProgramWindowsTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    ASSERT_TRUE(kelmor::test::CreateSchemaFile(dir_ / "kelmor.db"));
    ApplicationOptions options;
    options.database_file = (dir_ / "kelmor.db").string();
    app_ = std::make_unique<Application>(options);
    ASSERT_TRUE(LoadWindow(app_->main_window));
  }
  void TearDown() override {
    app_.reset();
    ResetWindowFramework();
    DisplayTest::TearDown();
  }

  // Opens the window modally and runs `steps` once it is shown, then closes it.
  void InModal(WindowId id, const std::function<void()>& steps) {
    QTimer timer;
    bool done = false;
    QObject::connect(&timer, &QTimer::timeout, [&] {
      const HWND hwnd = WindowHandle({id, ""});
      if (done || hwnd == 0 || ModalWindowHandle() != hwnd) return;
      done = true;
      host_.renderer().Flush(true);
      steps();
      CloseWindow(id);
    });
    timer.start(0);
    LoadWindow(id, {}, true);
    EXPECT_TRUE(done);
  }

  struct Expected {
    const char* control;  // empty: the window
    QAccessible::Role role;
    const char* name;
  };

  void ExpectNamesAndRoles(WindowId window, const std::vector<Expected>& rows) {
    for (const Expected& row : rows) {
      QWidget* widget = host_.renderer().WidgetFor(WindowHandle({window, Gbk(row.control)}));
      QAccessibleInterface* iface = Accessible(widget);
      ASSERT_NE(iface, nullptr) << row.control;
      EXPECT_EQ(iface->role(), row.role) << row.control;
      EXPECT_EQ(iface->text(QAccessible::Name), QString::fromUtf8(row.name)) << row.control;
    }
  }

  kelmor::test::TempDir dir_;
  std::unique_ptr<Application> app_;
};

TEST_F(ProgramWindowsTest, EveryControlHasTheNameAndRoleAScreenReaderAnnounces) {
  using R = QAccessible::Role;
  Settle();
  ExpectNamesAndRoles(app_->main_window, {{"", R::Window, "【Kelmor】"},
                                          {"按钮1", R::Button, "中药"},
                                          {"按钮2", R::Button, "药方"},
                                          {"组合框1", R::ComboBox, "查询项目"},
                                          {"编辑框1", R::EditableText, "查询内容"},
                                          {"按钮4", R::Button, "查询"},
                                          {"树型框1", R::Tree, "分类"},
                                          {"分隔条1", R::Separator, "分隔条"},
                                          {"编辑框", R::EditableText, "内容"}});
  InModal(app_->search_window, [&] {
    ExpectNamesAndRoles(app_->search_window,
                        {{"", R::Dialog, "【中  药】查询"}, {"超级列表框1", R::Table, "查询结果"}});
  });
  app_->entry_edit_mode = EntryEditMode::Add;
  InModal(app_->editor_window, [&] {
    ExpectNamesAndRoles(app_->editor_window,
                        {{"", R::Dialog, "【中  药】添加"},
                         {"药物名称编辑框", R::EditableText, "【药物名称】："},
                         {"别名编辑框", R::EditableText, "【别    名】："},
                         {"药物类别编辑框", R::EditableText, "【类    别】："},
                         {"英文名称编辑框", R::EditableText, "【英文名称】："},
                         {"植物形态1编辑框", R::EditableText, "【植物形态】："},
                         {"植物形态2编辑框", R::EditableText, "植物形态（续）"},
                         {"来源编辑框", R::EditableText, "【来    源】："},
                         {"生长地编辑框", R::EditableText, "【生 长 地】："},
                         {"采制编辑框", R::EditableText, "【采    制】："},
                         {"化学成分编辑框", R::EditableText, "【化学成分】："},
                         {"性味编辑框", R::EditableText, "【性    味】："},
                         {"功能主治编辑框", R::EditableText, "【功能主治】："},
                         {"附注编辑框", R::EditableText, "【附    注】："},
                         {"选择框1", R::CheckBox, "连续添加"},
                         {"按钮1", R::Button, "确定"},
                         {"按钮2", R::Button, "取消"},
                         {"药方编辑框", R::EditableText, "【药方名称】："},
                         {"药方类别编辑框", R::EditableText, "【类    别】："},
                         {"配方编辑框", R::EditableText, "【配   方】："},
                         {"制法编辑框", R::EditableText, "【制   法】："},
                         {"功用编辑框", R::EditableText, "【功   用】："},
                         {"禁忌编辑框", R::EditableText, "【禁   忌】："},
                         {"备注编辑框", R::EditableText, "【附    注】："},
                         {"选择框2", R::CheckBox, "连续添加"},
                         {"按钮3", R::Button, "确定"},
                         {"按钮4", R::Button, "取消"}});
  });
}

// ---- Text from assistive technology ----------------------------------------------------------

TEST_F(DisplayTest, TextGivenThroughTheAccessibilityInterfaceReachesTheEditAsTyped) {
  const HWND frame = Frame(400, 300);
  for (const DWORD style : {DWORD{ES_AUTOHSCROLL}, DWORD{ES_MULTILINE | ES_WANTRETURN}}) {
    const HWND edit = Child(frame, WC_EDITA, "", style, 8, 8, 200, 60, 6);
    QAccessibleInterface* iface = Accessible(WidgetOf<QWidget>(edit));
    ASSERT_NE(iface, nullptr);
    ASSERT_NE(iface->editableTextInterface(), nullptr);
    seen_.clear();
    iface->editableTextInterface()->insertText(0, QStringLiteral(u"甘草"));
    Settle();
    EXPECT_EQ(GetWindowTextString(edit), Gbk("甘草")) << style;
    EXPECT_EQ(Count(EN_CHANGE), 1) << style;  // once, no echo back and forth
    iface->setText(QAccessible::Value, QStringLiteral(u"麻黄"));
    Settle();
    EXPECT_EQ(GetWindowTextString(edit), Gbk("麻黄")) << style;
    EXPECT_EQ(Count(EN_CHANGE), 2) << style;
    DestroyWindow(edit);
  }
}

TEST_F(ProgramWindowsTest, AnInputBoxConfirmsTheTextGivenThroughTheAccessibilityInterface) {
  Text typed;
  QTimer::singleShot(0, [&] {
    const HWND box = ModalWindowHandle();
    host_.renderer().Flush(true);
    QAccessibleInterface* iface =
        Accessible(host_.renderer().WidgetFor(GetDlgItem(box, kInputBoxEditId)));
    ASSERT_NE(iface, nullptr);
    iface->setText(QAccessible::Value, QStringLiteral(u"温里药"));
    ClickButton(GetDlgItem(box, kInputBoxOkId));
  });
  EXPECT_TRUE(InputBox(Gbk("一类项目"), {}, {}, &typed));
  EXPECT_EQ(typed, Gbk("温里药"));
}

// ---- Shown for a moment ----------------------------------------------------------------------

TEST_F(DisplayTest, PopupMenuAndLabelEditorAreFoundInTheWindowWhileShown) {
  const HWND frame = Frame(300, 300);
  const HWND tree = Child(frame, WC_TREEVIEWA, "", TVS_EDITLABELS, 0, 0, 200, 250, 3);
  SetAccessibleName(tree, Gbk("分类").c_str());
  TVINSERTSTRUCTA ins;
  std::string text = Gbk("麻黄");
  ins.item.mask = TVIF_TEXT;
  ins.item.pszText = text.data();
  const auto item = static_cast<HTREEITEM>(
      SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
  QAccessibleInterface* window = Accessible(WidgetOf<QWidget>(frame));
  ASSERT_NE(window, nullptr);
  auto has_role = [](QAccessible::Role role) {
    return [role](QAccessibleInterface* i) { return i->role() == role; };
  };
  // A screen reader asks where a child sits to move to its siblings or to place an event.
  auto expect_each_child_at_its_index = [&] {
    for (int i = 0; i < window->childCount(); ++i)
      EXPECT_EQ(window->indexOfChild(window->child(i)), i) << i << " of " << window->childCount();
  };

  std::vector<PopupMenuItem> items;
  for (const char* caption :
       {"增加一类", "增加二类", "编辑类别", "编辑内容", "删除", "更新", "收缩数据库", "备份数据"})
    items.push_back({static_cast<UINT>(items.size() + 1), Gbk(caption), true});
  QTimer::singleShot(0, [&] {
    QAccessibleInterface* menu = FindBelow(window, has_role(QAccessible::PopupMenu));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->childCount(), 8);
    EXPECT_EQ(menu->child(0)->role(), QAccessible::MenuItem);
    EXPECT_EQ(menu->child(7)->text(QAccessible::Name), QStringLiteral(u"备份数据"));
    expect_each_child_at_its_index();
    qobject_cast<QMenu*>(menu->object())->close();
  });
  host_.TrackPopupMenu(items, 10, 10, frame);
  EXPECT_EQ(FindBelow(window, has_role(QAccessible::PopupMenu)), nullptr);

  SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, item);
  ASSERT_TRUE(BeginLabelEdit(tree, item));
  // The busy redraw first (the tree's items later, while the editor is open), then the rest.
  QCoreApplication::processEvents();
  Settle();
  ASSERT_NE(SendMessageA(tree, TVM_GETEDITCONTROL, 0, 0), 0);  // still open after the redraws
  QAccessibleInterface* editor = FindBelow(window, has_role(QAccessible::EditableText));
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->text(QAccessible::Name), QStringLiteral(u"分类"));
  expect_each_child_at_its_index();
  editor->setText(QAccessible::Value, QStringLiteral(u"桂枝"));
  QTest::keyClick(qobject_cast<QWidget*>(editor->object()), Qt::Key_Return);
  Settle();
  EXPECT_EQ(Count(TVN_ENDLABELEDITA), 1);
  EXPECT_EQ(FindBelow(window, has_role(QAccessible::EditableText)), nullptr);
}

// ---- Actions of assistive technology ---------------------------------------------------------

// Each action a screen reader offers runs what the user's own gesture on the control runs.
TEST_F(DisplayTest, EveryAccessibleActionReachesThePlatformAsTheUsersGesture) {
  const HWND frame = Frame(500, 400);
  const HWND button = Child(frame, WC_BUTTONA, "确定", BS_PUSHBUTTON, 8, 8, 80, 20, 1);
  const HWND check = Child(frame, WC_BUTTONA, "连续添加", BS_AUTOCHECKBOX, 8, 32, 100, 20, 2);
  const HWND edit = Child(frame, WC_EDITA, "", WS_TABSTOP, 8, 56, 100, 20, 3);
  const HWND combo = Child(frame, WC_COMBOBOXA, "", CBS_DROPDOWNLIST, 8, 80, 120, 20, 4);
  for (const char* field : {"药物名称", "功能主治"})
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Gbk(field).c_str()));
  SendMessageA(combo, CB_SETCURSEL, 0, 0);
  const HWND tree = Child(frame, WC_TREEVIEWA, "", 0, 200, 8, 200, 300, 5);
  TVINSERTSTRUCTA ins;
  std::vector<HTREEITEM> items;
  for (const char* name : {"解表药", "清热药"}) {
    std::string text = Gbk(name);
    ins.item.mask = TVIF_TEXT;
    ins.item.pszText = text.data();
    items.push_back(static_cast<HTREEITEM>(
        SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins))));
  }
  SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, items[0]);
  auto act = [&](HWND control, const QString& child, const QString& action) {
    QAccessibleInterface* iface = Accessible(WidgetOf<QWidget>(control));
    if (!child.isEmpty()) {
      iface = FindBelow(iface, [&](QAccessibleInterface* i) {
        return i->text(QAccessible::Name) == child && i->actionInterface() != nullptr;
      });
    }
    ASSERT_NE(iface, nullptr) << child.toStdString();
    ASSERT_NE(iface->actionInterface(), nullptr);
    ASSERT_TRUE(iface->actionInterface()->actionNames().contains(action)) << action.toStdString();
    iface->actionInterface()->doAction(action);
    QTest::qWait(200);  // Press animates the click first
    Settle();
  };
  const QString press = QAccessibleActionInterface::pressAction();
  const QString toggle = QAccessibleActionInterface::toggleAction();
  const QString focus = QAccessibleActionInterface::setFocusAction();

  act(button, {}, press);
  EXPECT_EQ(Count(BN_CLICKED), 1);
  act(check, {}, toggle);
  EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_CHECKED);
  act(check, {}, toggle);
  EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(Count(BN_CLICKED), 3);
  EXPECT_FALSE(WidgetOf<QAbstractButton>(check)->isChecked());

  act(combo, QStringLiteral(u"功能主治"), toggle);
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(Count(CBN_SELCHANGE), 1);

  act(tree, QStringLiteral(u"清热药"), toggle);
  EXPECT_EQ(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0), static_cast<LRESULT>(items[1]));
  act(tree, QStringLiteral(u"清热药"), toggle);  // no gesture leaves a native tree unselected
  EXPECT_EQ(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0), static_cast<LRESULT>(items[1]));
  EXPECT_EQ(WidgetOf<QTreeWidget>(tree)->selectedItems().size(), 1);

  const HWND list = Child(frame, WC_LISTVIEWA, "", LVS_REPORT, 8, 110, 180, 200, 6);
  LVCOLUMNA column;
  column.mask = LVCF_WIDTH;
  column.cx = 150;
  SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
  for (const char* name : {"麻黄", "桂枝"}) {
    std::string text = Gbk(name);
    LVITEMA row;
    row.mask = LVIF_TEXT;
    row.iItem = 9;
    row.iSubItem = 0;
    row.pszText = text.data();
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row));
  }
  act(list, QStringLiteral(u"桂枝"), toggle);
  EXPECT_EQ(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 1);
  EXPECT_EQ(Count(NM_CLICK), 1);

  for (const HWND control : {edit, check, button}) {
    act(control, {}, focus);
    EXPECT_EQ(GetFocus(), control);
  }

  std::vector<PopupMenuItem> menu;
  for (const char* caption : {"增加一类", "增加二类", "编辑类别"})
    menu.push_back({static_cast<UINT>(menu.size() + 1), Gbk(caption), true});
  QTimer::singleShot(0, [&] {
    QAccessibleInterface* popup = FindBelow(
        Accessible(WidgetOf<QWidget>(frame)),
        [](QAccessibleInterface* i) { return i->role() == QAccessible::PopupMenu; });
    ASSERT_NE(popup, nullptr);
    popup->child(1)->actionInterface()->doAction(press);
  });
  QTimer closer;  // the menu would otherwise stay open: closed unchosen after a while
  closer.setSingleShot(true);
  QObject::connect(&closer, &QTimer::timeout, [&] {
    for (QMenu* open : host_.renderer().WidgetFor(frame)->findChildren<QMenu*>()) open->close();
  });
  closer.start(1000);
  EXPECT_EQ(host_.TrackPopupMenu(menu, 10, 10, frame), 2u);
}

}  // namespace
}  // namespace kelmor::display::test
