// Crash consistency: a child process plays a user who adds herbs in the editor and renames
// their category over and over; it is killed with SIGKILL at a random moment, 200 times. After
// each kill the file passes the integrity check, every entry is wholly there (its entry row,
// its tree row under its category) or wholly absent, and the saved tree holds exactly the
// category rows.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <random>
#include <string>

#include "runtime/dialogs.h"
#include "runtime/tree_content.h"
#include "sqlite_access/sqlite_db.h"
#include "tests/reliability/book_file.h"
#include "tests/reliability/reliability_fixture.h"
#include "tests/support/schema.h"
#include "tests/support/stored_tree.h"

namespace kelmor {
namespace {

namespace fs = std::filesystem;

constexpr int kKills = 200;

// The child's work, until it is killed: add a herb under the category, rename the category
// (which moves its entries), and again.
[[noreturn]] void PlayUser(const fs::path& file, int round, int ready_fd) {
  test::Session s(file);
  // Started: the parent may now aim its kill at the saves.
  const char byte = 1;
  (void)!::write(ready_fd, &byte, 1);
  Text category = s.Item("甲") != -1 ? "甲" : "乙";
  for (int i = 0;; ++i) {
    const Text name = "药" + std::to_string(round) + "_" + std::to_string(i);
    s.driver().OnModal([&] {
      s.driver().Type({s.app().editor_window, "药物名称编辑框"}, name);
      s.driver().Type({s.app().editor_window, "性味编辑框"}, "甘");
      s.driver().Click({s.app().editor_window, "按钮1"});
    });
    s.Menu("增加二类", s.Item(category));
    const Text renamed = category == "甲" ? "乙" : "甲";
    s.Menu("编辑类别");
    s.driver().AnswerMessageBox(kAnswerYes);
    s.driver().EditLabel(s.app().Tree(), s.Item(category), renamed);
    category = renamed;
  }
}

std::vector<Text> Column(SqliteDB& db, const Text& sql, const char* column) {
  return test::ColumnValues(db, sql, column);
}

// What must hold of the file whenever the program stops, however it stops.
void ExpectConsistent(const fs::path& file) {
  ASSERT_EQ(test::IntegrityCheck(file), "ok");
  SqliteDB db;
  ASSERT_TRUE(db.Open(file.string()));
  // An entry row without its tree row under its category, or the other way round.
  EXPECT_EQ(Column(db,
                   "select count(*) as n from zymm m where not exists (select 1 from zylb r join "
                   "zylb p on p.id=r.xm where r.type=m.药物名称 and p.type=m.类别)",
                   "n"),
            std::vector<Text>{"0"});
  EXPECT_EQ(Column(db,
                   "select count(*) as n from zylb r where r.xm<>0 and not exists (select 1 "
                   "from zymm m where m.药物名称=r.type)",
                   "n"),
            std::vector<Text>{"0"});
  // The saved tree is the tree of the rows as committed.
  std::vector<Text> types = Column(db, "select type from zylb", "type");
  std::vector<Text> saved;
  for (const auto& record : test::StoredTreeItems(db, 1)) saved.push_back(record.text);
  std::sort(types.begin(), types.end());
  std::sort(saved.begin(), saved.end());
  EXPECT_EQ(saved, types);
}

TEST(CrashConsistency, KilledAtRandomMomentsTheBookIsWholeEveryTime) {
  test::TempDir dir;
  const fs::path file = dir / "kelmor.db";
  test::MakeBookFile(file);
  std::mt19937 random(20261208);
  // The saves follow each other every few ms.
  std::uniform_int_distribution<int> delay_us(0, 40000);
  int entries_seen = 0;
  for (int round = 0; round < kKills; ++round) {
    SCOPED_TRACE("kill " + std::to_string(round));
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::close(ready[0]);
      PlayUser(file, round, ready[1]);
    }
    ::close(ready[1]);
    // Every fourth kill falls anywhere from the start (start-up included); the others after
    // start-up, among the saves, however slow the build (sanitizers) makes the start.
    if (round % 4 != 0) {
      char byte;
      (void)!::read(ready[0], &byte, 1);
    }
    ::close(ready[0]);
    // (<chrono> cannot be compiled with the GBK execution character set.)
    ::usleep(static_cast<useconds_t>(delay_us(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child ended on its own";
    ExpectConsistent(file);
    if (HasFatalFailure() || HasFailure()) break;
    SqliteDB db;
    ASSERT_TRUE(db.Open(file.string()));
    entries_seen = static_cast<int>(Column(db, "select 药物名称 from zymm", "药物名称").size());
  }
  // The kills fell inside the work, not all before it.
  EXPECT_GT(entries_seen, 20);
}

}  // namespace
}  // namespace kelmor
