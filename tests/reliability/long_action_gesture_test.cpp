// The user acting while a long action lets events through: on a generated book of 20,000 herbs,
// a close box or 取消 is played from inside the rebuild of a rename, an add, a delete or an
// editor save, and a close box or a command from inside the listing of a search's hits. The program runs as main() runs it, in a child process; it must end normally
// (exit code 0, no run-time error, no message but the action's own question), and the file must
// hold the change together with its saved tree.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/application.h"
#include "platform/user_input.h"
#include "runtime/dialogs.h"
#include "runtime/fatal.h"
#include "runtime/tree_content.h"
#include "runtime/window_commands.h"
#include "sqlite_access/sqlite_db.h"
#include "tests/reliability/book_file.h"
#include "tests/support/schema.h"
#include "tests/support/stored_tree.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_driver.h"
#include "tools/generated_database.h"

namespace kelmor {
namespace {

namespace fs = std::filesystem;

// The items the gestures work on, as the saved trees show them.
struct Names {
  Text category;  // first item of the herb tree
  Text entry;     // the second, the first herb of that category
};

// What one run plays: `play` runs when the main window first waits for the user, with the
// driver and the program; it returns the message boxes the user must see, in order.
struct Play {
  test::TestDriver& driver;
  Application& app;
  const Names& names;

  bool Busy() const { return !app.CommandMayStart(); }
  void Menu(const char* caption, int item) {
    driver.ChooseMenuItem(Text(caption));
    driver.RightClickTreeItem(app.Tree(), item);
  }
  // In the middle of the action's rebuild, `gesture`.
  void DuringRebuild(std::function<void()> gesture) {
    driver.DuringEvents([this] { return Busy(); }, std::move(gesture));
  }
  // The entry editor opened by 增加二类 on the first category: the name typed, then `save`.
  void AddInEditor(const char* name_box, const Text& name, std::function<void()> save) {
    driver.OnModal([this, name_box, name, save] {
      driver.Type({app.editor_window, name_box}, name);
      save();
    });
    // Once the editor has gone, the user ends the program.
    driver.OnModal([this] { driver.CloseBox(app.main_window); });
    Menu("增加二类", 0);
  }
  // 查询 for every herb: field 性味, term "%".
  void SearchEveryRow() {
    const ControlRef chooser = app.FieldChooser();
    for (int i = 0; i < ComboItemCount(chooser); ++i) {
      if (ComboItemText(chooser, i) == "性味") driver.SelectComboItem(chooser, i);
    }
    driver.Type(app.SearchBox(), "%");
    driver.Click(app.Main("按钮4"));
  }
};

struct Gesture {
  std::string name;
  std::function<std::vector<Text>(Play&)> play;
  // Counts (as column n) what the committed change left in the file; must be `committed`.
  std::function<Text(const Names&)> count;
  Text committed = "1";
};

void PrintTo(const Gesture& g, std::ostream* out) {
  *out << g.name;
}

// The herb 新药 with its tree row under its category.
Text NewHerbCount(const Names&) {
  return "select count(*) as n from zymm m join zylb r on r.type=m.药物名称 join zylb p on "
         "p.id=r.xm and p.type=m.类别 where m.药物名称='新药'";
}

const Gesture kGestures[] = {
    {"CancelOfTheEditorDuringItsSave",
     [](Play& r) {
       r.AddInEditor("药物名称编辑框", "新药", [&r] {
         const WindowId editor = r.app.editor_window;
         // 连续添加: only the user's 取消 closes the editor after this save.
         r.driver.Click({editor, "选择框1"});
         r.DuringRebuild([&r, editor] { r.driver.Click({editor, "按钮2"}); });
         r.driver.Click({editor, "按钮1"});
       });
       return std::vector<Text>{};
     },
     NewHerbCount},
    {"CloseBoxOfTheEditorDuringItsSave",
     [](Play& r) {
       r.AddInEditor("药物名称编辑框", "新药", [&r] {
         r.DuringRebuild([&r] { r.driver.CloseBox(r.app.editor_window); });
         r.driver.Click({r.app.editor_window, "按钮1"});
       });
       return std::vector<Text>{};
     },
     NewHerbCount},
    {"CloseBoxOfTheMainWindowDuringAnEditorSave",
     [](Play& r) {
       r.AddInEditor("药物名称编辑框", "新药", [&r] {
         r.DuringRebuild([&r] {
           r.driver.CloseBox(r.app.editor_window);
           // Refused while the editor is open; nothing may go wrong either way.
           platform::CloseByCloseBox(WindowHandle({r.app.main_window, ""}));
         });
         r.driver.Click({r.app.editor_window, "按钮1"});
       });
       return std::vector<Text>{};
     },
     NewHerbCount},
    {"CloseBoxOfTheMainWindowDuringARename",
     [](Play& r) {
       r.Menu("编辑类别", 0);
       r.driver.AnswerMessageBox(kAnswerYes);
       r.DuringRebuild([&r] { r.driver.CloseBox(r.app.main_window); });
       r.driver.EditLabel(r.app.Tree(), 0, "新类名");
       return std::vector<Text>{"你确定要修改[" + r.names.category + "]吗？"};
     },
     [](const Names& n) {
       return "select count(*) as n from zylb where type='新类名' and xm=0 and exists (select 1 "
              "from zymm where 类别='新类名') and not exists (select 1 from zymm where 类别='" +
              n.category + "')";
     }},
    {"CloseBoxOfTheMainWindowDuringAddCategory",
     [](Play& r) {
       r.driver.AnswerInputBox("新一类");
       r.DuringRebuild([&r] { r.driver.CloseBox(r.app.main_window); });
       r.Menu("增加一类", 0);
       return std::vector<Text>{};
     },
     [](const Names&) {
       return Text("select count(*) as n from zylb where type='新一类' and xm=0");
     }},
    {"CloseBoxOfTheMainWindowDuringDelete",
     [](Play& r) {
       r.driver.AnswerMessageBox(kAnswerYes);
       r.DuringRebuild([&r] { r.driver.CloseBox(r.app.main_window); });
       r.Menu("删除", 1);
       return std::vector<Text>{"你确定要删除[" + r.names.entry + "]吗？"};
     },
     [](const Names& n) { return "select count(*) as n from zylb where type='" + n.entry + "'"; },
     "0"},
    {"CloseBoxOfTheMainWindowDuringTheSearch",
     [](Play& r) {
       r.DuringRebuild([&r] {
         r.driver.CloseBox(r.app.main_window);
         // Kept until the list is whole: the results window is still there to fill.
         EXPECT_TRUE(IsWindowLoaded(r.app.search_window));
       });
       r.SearchEveryRow();
       return std::vector<Text>{};
     },
     [](const Names& n) { return "select count(*) as n from zylb where type='" + n.entry + "'"; }},
    {"DeleteDuringTheSearchIsRefused",
     [](Play& r) {
       r.DuringRebuild([&r] { r.Menu("删除", 1); });
       r.driver.OnModal([&r] { r.driver.CloseBox(r.app.search_window); });
       r.driver.OnModal([&r] { r.driver.CloseBox(r.app.main_window); });
       r.SearchEveryRow();
       return std::vector<Text>{};  // not even the question
     },
     [](const Names& n) { return "select count(*) as n from zylb where type='" + n.entry + "'"; }},
};

class LongActionGestureTest : public ::testing::TestWithParam<Gesture> {
 protected:
  static void SetUpTestSuite() {
    book_dir_ = std::make_unique<test::TempDir>();
    tools::GeneratedSize size;
    size.herbs = 20000;
    size.herb_categories = 200;
    size.prescriptions = 2000;
    size.prescription_categories = 21;
    std::string error;
    ASSERT_TRUE(tools::MakeGeneratedDatabase(*book_dir_ / "kelmor.db", size, true, error)) << error;
  }
  static void TearDownTestSuite() { book_dir_.reset(); }

  // The program as main() runs it, with the run's steps; in the child of a death test.
  [[noreturn]] static void RunProgram(const fs::path& file, const Names& names,
                                      const Gesture& gesture) {
    {
      test::TestDriver driver;
      ApplicationOptions options;
      options.database_file = file.string();
      Application app(options);
      std::vector<Text> expected;
      Play run{driver, app, names};
      driver.OnModal([&] { expected = gesture.play(run); });
      RunMainWindow(app.main_window);
      RunEndRoutine();
      EXPECT_EQ(driver.message_texts(), expected);
    }
    // Only what the child writes to the error stream reaches the parent.
    const ::testing::TestResult* result =
        ::testing::UnitTest::GetInstance()->current_test_info()->result();
    for (int i = 0; i < result->total_part_count(); ++i) {
      std::fprintf(stderr, "%s\n", result->GetTestPartResult(i).message());
    }
    // As the run-time error does: static objects (the shared book's folder) stay to the parent.
    std::fflush(nullptr);
    std::_Exit(::testing::Test::HasFailure() ? 1 : 0);
  }

  static std::unique_ptr<test::TempDir> book_dir_;
  test::TempDir dir_;
};

std::unique_ptr<test::TempDir> LongActionGestureTest::book_dir_;

TEST_P(LongActionGestureTest, TakesEffectWhenTheActionHasFinished) {
  const Gesture& gesture = GetParam();
  const fs::path file = dir_ / "kelmor.db";
  fs::copy_file(*book_dir_ / "kelmor.db", file);
  Names names;
  {
    SqliteDB db;
    ASSERT_TRUE(db.Open(file.string()));
    const auto herbs = test::StoredTreeItems(db, 1);
    ASSERT_GT(herbs.size(), 20000u);
    ASSERT_EQ(herbs[1].level, 2);
    names = {herbs[0].text, herbs[1].text};
  }

  EXPECT_EXIT(RunProgram(file, names, gesture), ::testing::ExitedWithCode(0), "");

  ASSERT_EQ(test::IntegrityCheck(file), "ok");
  SqliteDB db;
  ASSERT_TRUE(db.Open(file.string()));
  EXPECT_EQ(test::ColumnValues(db, gesture.count(names), "n"),
            std::vector<Text>{gesture.committed});
  // Each saved tree holds exactly the category rows as committed.
  for (const auto& [collection, nodes] : {std::pair{1, "zylb"}, std::pair{2, "yflb"}}) {
    std::vector<Text> rows = test::ColumnValues(db, Text("select type from ") + nodes, "type");
    std::vector<Text> saved;
    for (const auto& item : test::StoredTreeItems(db, collection)) saved.push_back(item.text);
    std::sort(rows.begin(), rows.end());
    std::sort(saved.begin(), saved.end());
    EXPECT_TRUE(rows == saved) << nodes << ": " << rows.size() << " rows, " << saved.size()
                               << " items saved";
  }
}

INSTANTIATE_TEST_SUITE_P(Gestures, LongActionGestureTest, ::testing::ValuesIn(kGestures),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace kelmor
