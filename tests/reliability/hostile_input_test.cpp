// Hostile names typed by the user: quotes, statement separators, comment starters, LIKE
// wildcards, control characters, very long texts, bytes that are no GBK text and the euro sign.
// For each, exactly the intended rows change and the stored text reads back as typed, or the
// action's failure is shown and nothing changes.
#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>

#include "app/commands.h"
#include "runtime/codec.h"
#include "runtime/dialogs.h"
#include "runtime/tree_box.h"
#include "runtime/tree_content.h"
#include "sqlite_access/sqlite_db.h"
#include "tests/reliability/book_file.h"
#include "tests/reliability/reliability_fixture.h"
#include "tests/support/schema.h"

namespace kelmor {
namespace {

namespace fs = std::filesystem;

struct Hostile {
  std::string label;
  Text text;
  // The book already holds an item of this name: none, an entry or a first-level category.
  enum Used { kNot, kByEntry, kByCategory } used = kNot;
};

// Test listings show the label, not the bytes of the whole struct.
void PrintTo(const Hostile& hostile, std::ostream* out) {
  *out << hostile.label;
}

// Texts a user could type into an input box or a label edit.
std::vector<Hostile> HostileNames() {
  return {
      {"quote", "王'"},
      {"quotes", "''''"},
      {"double quote", "\"甲\""},
      {"separator", "a'; DROP TABLE zylb; --"},
      {"line comment", "x -- y"},
      {"block comment", "/* 甲"},
      {"percent", "%"},
      {"underscore", "_"},
      {"like pattern", "甲%_"},
      {"backslash", "a\\b\\'"},
      {"control characters",
       "a\x01\x02\x1f\x7f"
       "b"},
      {"byte 1A", "甲\x1a乙"},
      {"tab", "a\tb"},
      {"not gbk", "\xff\xfe"},
      {"cut character", "甲\xb0"},
      // 0x80 is a character of its own, never the first byte of a pair.
      {"euro last", "价€"},
      {"euro first", "€中药"},
      {"used by a category", "丙", Hostile::kByCategory},
      {"used by an entry", "人参", Hostile::kByEntry},
  };
}

class HostileInput : public ::testing::TestWithParam<Hostile> {
 protected:
  HostileInput() { test::MakeBookFile(File()); }
  fs::path File() const { return dir_ / "kelmor.db"; }

  // One column of the rows a query returns, read through a connection of its own.
  std::vector<Text> Column(const Text& sql, const char* column) {
    return test::ColumnValues(File(), sql, column);
  }
  std::vector<Text> Categories() { return Column("select type from zylb order by id", "type"); }

  // What an edit box holds after the text was typed into it: a single-line edit takes no
  // control character (they are keys: tab, Ctrl+Z ...).
  static Text AsShown(const Text& typed) {
    Text shown;
    for (std::size_t i = 0; i < typed.size(); ++i) {
      const auto byte = static_cast<unsigned char>(typed[i]);
      if (byte >= 0x81 && byte <= 0xFE && i + 1 < typed.size()) {
        shown += typed.substr(i++, 2);
      } else if (byte >= 0x20) {
        shown += typed[i];
      }
    }
    return shown;
  }

  // Whether the text can be stored at all: SQLite holds UTF-8.
  static bool Storable(const Text& text) { return LocalToUtf8(text).has_value(); }

  test::TempDir dir_;
};

TEST_P(HostileInput, AddingACategoryStoresExactlyTheTypedName) {
  const Text typed = GetParam().text;
  const Text name = AsShown(typed);
  const test::BookRows before = test::ReadBookRows(File());
  const std::vector<Text> categories = Categories();
  test::Session session(File());
  session.driver().AnswerInputBox(typed);
  session.Menu("增加一类");
  const test::BookRows now = test::ReadBookRows(File());
  for (const char* untouched : {"yflb", "zymm", "yfmm"})
    EXPECT_EQ(now.at(untouched), before.at(untouched)) << untouched;
  std::vector<Text> expected = categories;
  if (GetParam().used != Hostile::kNot) {
    EXPECT_EQ(session.driver().message_texts(),
              std::vector<Text>{"[" + name + "]已经存在,不能增加"});
  } else if (Storable(name)) {
    expected.push_back(name);
    EXPECT_TRUE(session.driver().message_boxes().empty());
    EXPECT_NE(session.Item(name), -1) << "the tree shows the new name";
  } else {
    EXPECT_EQ(session.driver().message_texts(),
              std::vector<Text>{"增加一类项目[" + name + "]失败"});
  }
  EXPECT_EQ(Categories(), expected);
  EXPECT_TRUE(session.NoOpenTransaction());
}

TEST_P(HostileInput, RenamingTouchesOnlyTheCategoryAndItsEntries) {
  // The label edit is an edit box too.
  const Text name = AsShown(GetParam().text);
  const test::BookRows before = test::ReadBookRows(File());
  test::Session session(File());
  session.Menu("编辑类别");
  session.driver().AnswerMessageBox(kAnswerYes);
  session.driver().EditLabel(session.app().Tree(), session.Item("甲"), name);
  const test::BookRows now = test::ReadBookRows(File());
  for (const char* untouched : {"yflb", "yfmm"})
    EXPECT_EQ(now.at(untouched), before.at(untouched)) << untouched;
  if (GetParam().used != Hostile::kNot) {
    EXPECT_EQ(now, before);
    EXPECT_EQ(session.driver().message_texts().back(), "[" + name + "]已经存在,不能修改");
  } else if (Storable(name)) {
    EXPECT_EQ(Categories(), (std::vector<Text>{name, "人参", "丙"}));
    EXPECT_EQ(Column("select 类别 from zymm", "类别"), std::vector<Text>{name});
    EXPECT_EQ(Column("select 药物名称 from zymm", "药物名称"), std::vector<Text>{"人参"});
    EXPECT_EQ(session.driver().message_texts().size(), 1u);
    EXPECT_NE(session.Item(name), -1) << "the tree shows the new name";
  } else {
    EXPECT_EQ(now, before);
    EXPECT_EQ(session.driver().message_texts().back(), "修改[甲]错误");
  }
  EXPECT_TRUE(session.NoOpenTransaction());
}

// A used name is held twice here, as a book written by another tool may hold it: the chosen
// item goes, the other stays; of two first-level items of one name the statements cannot tell
// whose entries are whose, and the delete is refused.
TEST_P(HostileInput, DeletingAHostileNameDeletesOnlyIt) {
  const Text name = AsShown(GetParam().text);
  if (!Storable(name)) GTEST_SKIP() << "cannot be stored, so cannot be deleted";
  std::int64_t id;
  {
    SqliteDB db;
    ASSERT_TRUE(db.Open(File().string()));
    id = test::InsertCategoryRow(db, 1, name);
    ASSERT_NE(id, 0);
  }
  {
    test::Session session(File());
    session.Menu("更新");
  }
  const test::BookRows before = test::ReadBookRows(File());
  test::Session session(File());
  int item = -1;
  for (int i = 0; i < GetTreeItemCount(session.app().Tree()); ++i) {
    if (session.app().tree_accessor->GetItemData(i) == id) item = i;
  }
  ASSERT_NE(item, -1) << "shown after a restart";
  ASSERT_EQ(GetTreeItemText(session.app().Tree(), item), name);
  session.driver().ClickTreeItem(session.app().Tree(), item);
  session.driver().AnswerMessageBox(kAnswerYes);
  session.Menu("删除", item);
  const test::BookRows now = test::ReadBookRows(File());
  if (GetParam().used == Hostile::kByCategory) {
    EXPECT_EQ(session.driver().message_texts().back(), "[" + name + "]重名,不能删除");
    EXPECT_EQ(now, before);
    return;
  }
  EXPECT_EQ(Categories(), (std::vector<Text>{"甲", "人参", "丙"}));
  for (const char* untouched : {"yflb", "zymm", "yfmm"})
    EXPECT_EQ(now.at(untouched), before.at(untouched)) << untouched;
  EXPECT_EQ(session.driver().message_texts().size(), 1u);
}

// A name longer than a tree item keeps whole would come back cut from the saved tree; renaming
// or deleting it then matched no row and did nothing without a word. It is refused instead.
TEST(LongNames, AreRefusedWithAMessageAndNothingChanges) {
  test::TempDir dir;
  const fs::path file = dir / "kelmor.db";
  test::MakeBookFile(file);
  const test::BookRows before = test::ReadBookRows(file);
  Text longest;
  while (longest.size() < kTreeTextLimit) longest += "药";
  for (const Text& name : {longest + "x", Text(1u << 20, 'k')}) {
    SCOPED_TRACE(name.size());
    test::Session session(file);
    session.driver().AnswerInputBox(name.substr(0, 2000));  // typed: as long as patience goes
    session.Menu("增加一类");
    session.Menu("编辑类别");
    session.driver().AnswerMessageBox(kAnswerYes);
    session.driver().EditLabel(session.app().Tree(), session.Item("甲"), name);
    EXPECT_EQ(session.driver().message_texts(),
              (std::vector<Text>{kNameTooLong, "你确定要修改[甲]吗？", kNameTooLong}));
    EXPECT_NE(session.Item("甲"), -1);
    EXPECT_EQ(test::ReadBookRows(file), before);
  }
  // The longest name that fits is stored and found again after a restart.
  {
    test::Session session(file);
    session.driver().AnswerInputBox(longest);
    session.Menu("增加一类");
    EXPECT_TRUE(session.driver().message_boxes().empty());
  }
  test::Session session(file);
  EXPECT_NE(session.Item(longest), -1);
}

INSTANTIATE_TEST_SUITE_P(Names, HostileInput, ::testing::ValuesIn(HostileNames()),
                         [](const auto& info) {
                           std::string n = info.param.label;
                           for (char& c : n) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return n;
                         });

}  // namespace
}  // namespace kelmor
