// Hostile field texts in the entry editor: every field of a herb gets the text (typed, or pasted
// when it is long), and the name too where a tree item can hold it. Saving adds exactly the
// entry's two rows or changes exactly its row, and every field reads back as the box held it;
// a text that cannot be stored shows the save's failure and changes nothing.
#include <gtest/gtest.h>

#include <ostream>

#include "app/entry_page.h"
#include "platform/user_input.h"
#include "runtime/codec.h"
#include "runtime/text_commands.h"
#include "runtime/window_commands.h"
#include "sqlite_access/field.h"
#include "sqlite_access/sqlite_dataset.h"
#include "sqlite_access/sqlite_db.h"
#include "tests/reliability/book_file.h"
#include "tests/reliability/reliability_fixture.h"
#include "tests/support/schema.h"

namespace kelmor {
namespace {

namespace fs = std::filesystem;

constexpr const char* kFields[] = {"英文名称",  "别名",     "来源", "植物形态1",
                                   "植物形态2", "生长地",   "采制", "化学成分",
                                   "性味",      "功能主治", "附注"};

struct Hostile {
  std::string label;
  Text text;
  bool as_name;  // also used as the entry's name
};

// Test listings show the label, not the bytes of the whole struct.
void PrintTo(const Hostile& hostile, std::ostream* out) {
  *out << hostile.label;
}

std::vector<Hostile> HostileTexts() {
  Text megabyte;
  while (megabyte.size() < (1u << 20)) megabyte += "甘草'; --/*%_";
  return {
      {"quotes", "it's ''x'' \"y\"", true},
      {"statements", "a'); DELETE FROM zymm; --", true},
      {"comment", "/* x", true},
      {"wildcards", "%_%", true},
      {"control",
       "a\x01\x1a\x7f"
       "b",
       true},
      {"lines", "一\r\n二\r\n", false},
      {"megabyte", megabyte, false},
      {"not_gbk", "\xff\xfe", true},
      {"euro", "价€", true},
  };
}

class HostileEntry : public ::testing::TestWithParam<Hostile> {
 protected:
  HostileEntry() { test::MakeBookFile(File()); }
  fs::path File() const { return dir_ / "kelmor.db"; }

  // Every field of the herb called `name`, through a connection of its own.
  std::vector<Text> Fields(const Text& name) {
    SqliteDB db;
    db.Open(File().string());
    SqliteDataset rows;
    std::string quoted;
    for (char c : name) {
      quoted += c;
      if (c == '\'') quoted += c;
    }
    rows.Open("select * from zymm where 药物名称='" + quoted + "'", db);
    rows.Query();
    std::vector<Text> out;
    if (rows.IsEnd()) return out;
    rows.Next();
    for (const char* f : kFields) out.push_back(rows.ReadText(Field(f)));
    return out;
  }

  // Puts the text into an editor box: typed when short, pasted when long (typing a megabyte
  // one key at a time would take minutes). Returns what the box then holds.
  Text Enter(test::Session& s, const char* box, const Text& text) {
    const ControlRef control{s.app().editor_window, box};
    if (text.size() > 1000) {
      platform::PasteText(WindowHandle(control), text);
    } else {
      s.driver().ClearText(control);
      s.driver().Type(control, text);
    }
    return GetText(control);
  }

  test::TempDir dir_;
};

TEST_P(HostileEntry, AddingAHerbStoresEveryFieldAsTheBoxHeldIt) {
  const Hostile& h = GetParam();
  const test::BookRows before = test::ReadBookRows(File());
  test::Session s(File());
  Text name = "党参";
  std::vector<Text> held;
  s.driver().OnModal([&] {
    if (h.as_name)
      name = Enter(s, "药物名称编辑框", h.text);
    else
      Enter(s, "药物名称编辑框", name);
    for (const char* f : kFields)
      held.push_back(Enter(s, (std::string(f) + "编辑框").c_str(), h.text));
    s.driver().Click({s.app().editor_window, "按钮1"});
  });
  s.Menu("增加二类", s.Item("甲"));
  // The boxes hold what was put in them, also a megabyte (control characters typed are keys).
  if (h.text.size() > 1000) {
    EXPECT_EQ(held.front(), h.text);
  }
  const test::BookRows now = test::ReadBookRows(File());
  for (const char* untouched : {"yflb", "yfmm"}) EXPECT_EQ(now.at(untouched), before.at(untouched));
  const bool storable = LocalToUtf8(name).has_value() &&
                        std::all_of(held.begin(), held.end(),
                                    [](const Text& t) { return LocalToUtf8(t).has_value(); });
  if (storable) {
    EXPECT_TRUE(s.driver().message_boxes().empty());
    EXPECT_EQ(Fields(name), held);
    ASSERT_NE(s.Item(name), -1);
    s.driver().DoubleClickTreeItem(s.app().Tree(), s.Item(name));
    EXPECT_EQ(GetText(s.app().Page()).find("【药物名称】：" + name + "\r\n"), 0u);
  } else {
    EXPECT_EQ(s.driver().message_texts(), std::vector<Text>{"添加[" + name + "]失败"});
    EXPECT_EQ(now, before);
  }
  EXPECT_TRUE(s.NoOpenTransaction());
}

TEST_P(HostileEntry, EditingAHerbChangesOnlyItsRow) {
  const Hostile& h = GetParam();
  const test::BookRows before = test::ReadBookRows(File());
  const std::vector<Text> old_fields = Fields("人参");
  test::Session s(File());
  Text held;
  s.driver().OnModal([&] {
    held = Enter(s, "附注编辑框", h.text);
    s.driver().Click({s.app().editor_window, "按钮1"});
  });
  s.Menu("编辑内容", s.Item("人参"));
  const test::BookRows now = test::ReadBookRows(File());
  for (const char* untouched : {"zylb", "yflb", "yfmm", "lbsj"}) {
    EXPECT_EQ(now.at(untouched), before.at(untouched)) << untouched;
  }
  std::vector<Text> expected = old_fields;
  if (LocalToUtf8(held)) {
    expected.back() = held;
    EXPECT_TRUE(s.driver().message_boxes().empty());
  } else {
    EXPECT_EQ(s.driver().message_texts(), std::vector<Text>{"修改[人参]失败"});
  }
  EXPECT_EQ(Fields("人参"), expected);
  EXPECT_TRUE(s.NoOpenTransaction());
}

INSTANTIATE_TEST_SUITE_P(Texts, HostileEntry, ::testing::ValuesIn(HostileTexts()),
                         [](const auto& info) { return info.param.label; });

// Text another tool stored that GBK cannot hold (given as an SQL expression): the program cannot
// read it, says so on the page and in the editor, and an edit that leaves its box alone leaves
// the stored text alone. A box the user changes takes the new text.
struct Unreadable {
  std::string label;
  const char* sql;
  friend void PrintTo(const Unreadable& u, std::ostream* out) { *out << u.label; }
};

class UnreadableField : public ::testing::TestWithParam<Unreadable> {
 protected:
  UnreadableField() { test::MakeBookFile(File()); }
  fs::path File() const { return dir_ / "kelmor.db"; }
  // The stored bytes of the columns, each as hexadecimal digits, one text per entry.
  Text Stored(const char* table, const char* columns) {
    const auto v =
        test::ColumnValues(File(), Text("select ") + columns + " as v from " + table, "v");
    return v.size() == 1 ? v[0] : Text("?");
  }
  test::TempDir dir_;
};

TEST_P(UnreadableField, IsShownAsSuchAndKeptByAnEditThatLeavesItAlone) {
  {
    SqliteDB db;
    ASSERT_TRUE(db.Open(File().string()));
    const Text value = GetParam().sql;
    ASSERT_TRUE(db.Execute("update zymm set 附注=" + value + ",别名=" + value));
    ASSERT_TRUE(db.Execute("update yfmm set 备注=" + value));
  }
  const Text herb_kept = Stored("zymm", "hex(附注)");
  const Text prescription_kept = Stored("yfmm", "hex(备注)");
  test::Session s(File());
  s.driver().DoubleClickTreeItem(s.app().Tree(), s.Item("人参"));
  EXPECT_NE(GetText(s.app().Page()).find(Text("\r\n【附    注】：") + kUnreadableValue),
            Text::npos);
  s.driver().OnModal([&] {
    EXPECT_EQ(GetText({s.app().editor_window, "附注编辑框"}), kUnreadableValue);
    s.driver().ClearText({s.app().editor_window, "性味编辑框"});
    s.driver().Type({s.app().editor_window, "性味编辑框"}, "苦");
    s.driver().ClearText({s.app().editor_window, "别名编辑框"});
    s.driver().Type({s.app().editor_window, "别名编辑框"}, "新");
    s.driver().Click({s.app().editor_window, "按钮1"});
  });
  s.Menu("编辑内容", s.Item("人参"));
  EXPECT_EQ(Stored("zymm", "hex(附注)"), herb_kept);
  EXPECT_EQ(Stored("zymm", "性味||'/'||别名"), "苦/新");

  s.driver().Click(s.app().Main("按钮2"));  // the prescriptions, where texts lose their spaces
  s.driver().OnModal([&] { s.driver().Click({s.app().editor_window, "按钮3"}); });
  s.Menu("编辑内容", s.Item("人参"));
  EXPECT_EQ(Stored("yfmm", "hex(备注)"), prescription_kept);
  EXPECT_TRUE(s.driver().message_boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(NotGbk, UnreadableField,
                         ::testing::Values(Unreadable{"micro_sign", "'5'||char(181)||'g'"},
                                           Unreadable{"bullet", "char(8226)"},
                                           Unreadable{"superscript_two", "'m'||char(178)"},
                                           Unreadable{"one_half", "char(189)"},
                                           Unreadable{"outside_the_bmp", "char(134071)"}),
                         [](const auto& info) { return info.param.label; });

}  // namespace
}  // namespace kelmor
