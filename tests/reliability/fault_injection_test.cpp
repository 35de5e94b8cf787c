// Storage faults during every writing action: each write, sync and lock the action makes fails
// in turn (disk full, I/O error, busy). Whatever fails, the program shows the action's message
// or stays silent, leaves no transaction open, and the file passes the integrity check holding
// either the whole action or none of it.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "runtime/dialogs.h"
#include "tests/reliability/book_file.h"
#include "tests/reliability/fault_vfs.h"
#include "tests/reliability/reliability_fixture.h"
#include "tests/reliability/writing_actions.h"

namespace kelmor {
namespace {

namespace fs = std::filesystem;
using test::FaultKind;

struct FaultCase {
  FaultKind kind;
  int error;
  bool sticky;
  const char* name;
};

constexpr FaultCase kFaults[] = {
    {FaultKind::Write, SQLITE_FULL, false, "disk full once"},
    {FaultKind::Write, SQLITE_FULL, true, "disk stays full"},
    {FaultKind::Write, SQLITE_IOERR_WRITE, false, "write error"},
    {FaultKind::Sync, SQLITE_IOERR_FSYNC, false, "sync error"},
    {FaultKind::Lock, SQLITE_BUSY, false, "busy"},
    {FaultKind::Lock, SQLITE_IOERR_LOCK, true, "lock error"},
};

// Enough to reach every write point of these small actions; more only repeats the same paths.
constexpr int kMaxPoints = 40;

// The rows of the categories and entries (everything but the saved trees).
bool SameRows(const test::BookRows& a, const test::BookRows& b) {
  for (const char* table : {"zylb", "yflb", "zymm", "yfmm"}) {
    if (a.at(table) != b.at(table)) return false;
  }
  return true;
}

class FaultInjection : public ::testing::TestWithParam<test::WritingAction> {
 protected:
  fs::path Fresh() {
    const fs::path file = dir_ / "kelmor.db";
    fs::remove(file);
    fs::remove(dir_ / "kelmor.db-journal");
    fs::copy_file(template_, file);
    return file;
  }

  test::TempDir dir_;
  fs::path template_ = dir_ / "template.db";
};

TEST_P(FaultInjection, EveryFailingCallLeavesAllOrNothing) {
  const test::WritingAction& action = GetParam();
  test::MakeBookFile(template_);
  const test::BookRows before = test::ReadBookRows(template_);

  // The fault-free run: its result and how many calls of each kind it makes.
  test::FaultVfs vfs;
  test::BookRows after;
  int counts[3] = {};
  {
    const fs::path file = Fresh();
    test::Session session(file);
    action.run(session, [&vfs] { vfs.ResetCounts(); });
    for (FaultKind k : {FaultKind::Write, FaultKind::Sync, FaultKind::Lock}) {
      counts[static_cast<int>(k)] = vfs.Count(k);
    }
    EXPECT_TRUE(session.driver().ScriptDone());
    EXPECT_EQ(session.driver().message_texts(), action.confirmations);
  }
  after = test::ReadBookRows(dir_ / "kelmor.db");
  if (action.changes_rows) {
    ASSERT_NE(before, after) << "the action changes nothing";
  }
  ASSERT_GT(counts[0] + counts[1] + counts[2], 0);

  int runs = 0;
  for (const FaultCase& fault : kFaults) {
    const int points = std::min(counts[static_cast<int>(fault.kind)], kMaxPoints);
    for (int n = 1; n <= points; ++n) {
      SCOPED_TRACE(std::string(fault.name) + " at call " + std::to_string(n));
      const fs::path file = Fresh();
      std::vector<Text> shown;
      {
        test::Session session(file);
        action.run(session, [&] { vfs.Arm(fault.kind, n, fault.error, fault.sticky); });
        vfs.Disarm();
        EXPECT_TRUE(session.NoOpenTransaction());
        EXPECT_TRUE(session.driver().ScriptDone());
        std::set<Text> allowed(action.confirmations.begin(), action.confirmations.end());
        allowed.insert(action.failure_messages.begin(), action.failure_messages.end());
        shown = session.driver().message_texts();
        for (const Text& text : shown) {
          EXPECT_TRUE(allowed.count(text)) << "unexpected message " << text;
        }
      }
      ++runs;
      EXPECT_EQ(test::IntegrityCheck(file), "ok");
      const test::BookRows now = test::ReadBookRows(file);
      // The category and entry rows hold the whole action or none of it.
      const bool rows_before = SameRows(now, before);
      const bool rows_after = SameRows(now, after);
      EXPECT_TRUE(rows_before || rows_after)
          << "half applied: against before " << test::DescribeDifference(before, now)
          << "; against after " << test::DescribeDifference(after, now);
      // The saved tree is stored in the same transaction: it agrees with the rows.
      EXPECT_EQ(now.at("lbsj"), (rows_after ? after : before).at("lbsj"))
          << "the saved tree disagrees with the rows";
      if (now == before && action.changes_rows && !action.failure_messages.empty()) {
        // Nothing stored: the user must have been told.
        EXPECT_TRUE(std::any_of(shown.begin(), shown.end(), [&](const Text& text) {
          return std::find(action.failure_messages.begin(), action.failure_messages.end(), text) !=
                 action.failure_messages.end();
        })) << "a failed action kept silent";
      }
    }
  }
  EXPECT_GT(runs, 0);
}

INSTANTIATE_TEST_SUITE_P(Actions, FaultInjection, ::testing::ValuesIn(test::WritingActions()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace kelmor
