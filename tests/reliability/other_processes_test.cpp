// Other processes and the file system under the program: a second process holding a lock, a
// read-only file, the file deleted or replaced while the program runs, and a bak path that is
// no folder. Each action shows its message or stays silent as it always does, never crashes
// and never half applies.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "runtime/dialogs.h"
#include "runtime/tree_box.h"
#include "runtime/tree_content.h"
#include "tests/reliability/book_file.h"
#include "tests/reliability/other_process.h"
#include "tests/reliability/reliability_fixture.h"
#include "tests/reliability/writing_actions.h"

namespace kelmor {
namespace {

namespace fs = std::filesystem;

class OtherProcesses : public ::testing::Test {
 protected:
  OtherProcesses() { test::MakeBookFile(File()); }
  fs::path File() const { return dir_ / "kelmor.db"; }

  // Runs every writing action on a program started on the file, while another process holds
  // what `lock` takes; each category action must show its failure.
  void RunEveryActionLocked(const char* lock) {
    for (const test::WritingAction& action : test::WritingActions()) {
      SCOPED_TRACE(action.name);
      test::Session session(File());
      std::optional<test::OtherProcess> other;
      action.run(session, [&] { other.emplace(File(), lock); });
      ASSERT_TRUE(other && other->ok());
      EXPECT_TRUE(session.NoOpenTransaction());
      EXPECT_TRUE(session.driver().ScriptDone());
      std::vector<Text> expected = action.confirmations;
      expected.insert(expected.end(), action.failure_messages.begin(),
                      action.failure_messages.end());
      EXPECT_EQ(session.driver().message_texts(), expected);
      // The tree still shows the stored categories.
      EXPECT_EQ(ParseTreeContent(GetTreeContent(session.app().Tree())).size(), 3u);
    }
  }

  test::TempDir dir_;
};

TEST_F(OtherProcesses, AWriteLockElsewhereFailsEachActionWithItsMessage) {
  const test::BookRows before = test::ReadBookRows(File());
  for (const char* lock :
       {"BEGIN IMMEDIATE; INSERT INTO zylb(type, xm) VALUES('x', 9)", "BEGIN EXCLUSIVE"}) {
    SCOPED_TRACE(lock);
    RunEveryActionLocked(lock);
    EXPECT_EQ(test::ReadBookRows(File()), before);
    EXPECT_EQ(test::IntegrityCheck(File()), "ok");
  }
  // Once the lock is gone the same action goes through.
  test::Session session(File());
  session.driver().AnswerInputBox("丁");
  session.Menu("增加一类");
  EXPECT_TRUE(session.driver().message_boxes().empty());
  EXPECT_NE(session.Item("丁"), -1);
}

// In the child of RunUnprivileged: every action on a file it may only read.
bool EveryActionOnAReadOnlyFile(const fs::path& folder) {
  const fs::path file = folder / "kelmor.db";
  const test::BookRows before = test::ReadBookRows(file);
  bool ok = true;
  for (const test::WritingAction& action : test::WritingActions()) {
    if (action.name == "Backup") continue;  // the bak folder cannot be made here: silent
    test::Session session(file);
    action.run(session, [] {});
    std::vector<Text> expected = action.confirmations;
    expected.insert(expected.end(), action.failure_messages.begin(), action.failure_messages.end());
    ok = ok && session.NoOpenTransaction() && session.driver().message_texts() == expected;
    if (!ok) ADD_FAILURE() << action.name;
  }
  return ok && test::ReadBookRows(file) == before;
}

TEST_F(OtherProcesses, AReadOnlyFileFailsEachActionWithItsMessage) {
  const test::BookRows before = test::ReadBookRows(File());
  fs::permissions(File(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  // The folder writable (a journal could be made) and not.
  for (fs::perms folder :
       {fs::perms::all, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                            fs::perms::others_read | fs::perms::others_exec}) {
    fs::permissions(dir_.path(), folder);
    EXPECT_TRUE(test::RunUnprivileged(dir_.path(), EveryActionOnAReadOnlyFile));
  }
  fs::permissions(dir_.path(), fs::perms::owner_all);
  EXPECT_EQ(test::ReadBookRows(File()), before);
}

TEST_F(OtherProcesses, AFileDeletedOrReplacedWhileRunningIsNeverWrittenBehindTheUsersBack) {
  const fs::path other = dir_ / "other.db";
  test::MakeBookFile(other);
  for (bool replace : {false, true}) {
    SCOPED_TRACE(replace ? "replaced" : "deleted");
    const fs::path file = dir_ / (replace ? "replaced.db" : "deleted.db");
    fs::copy_file(File(), file, fs::copy_options::overwrite_existing);
    test::Session session(file);
    if (replace) {
      fs::copy_file(other, dir_ / "new.db", fs::copy_options::overwrite_existing);
      fs::rename(dir_ / "new.db", file);
    } else {
      fs::remove(file);
    }
    // A change that could only go to the vanished file must be refused, not silently lost.
    session.driver().AnswerInputBox("丁");
    session.Menu("增加一类");
    EXPECT_EQ(session.driver().message_texts(), std::vector<Text>{"增加一类项目[丁]失败"});
    EXPECT_TRUE(session.NoOpenTransaction());
    session.Menu("更新");
    session.Menu("收缩数据库");
    session.Menu("备份数据");
    EXPECT_EQ(session.driver().message_texts().size(), 1u);
    if (replace) {
      EXPECT_EQ(test::ReadBookRows(file), test::ReadBookRows(other));
    } else {
      EXPECT_FALSE(fs::exists(file));
    }
  }
}

TEST_F(OtherProcesses, ABakPathThatIsNoFolderLeavesNoBackupAndSaysNothing) {
  const fs::path bak = dir_ / "bak";
  for (int kind = 0; kind < 3; ++kind) {
    SCOPED_TRACE(kind);
    fs::remove_all(bak);
    if (kind == 0) std::ofstream(bak) << "a file";
    if (kind == 1) fs::create_directory_symlink(dir_ / "nowhere", bak);
    if (kind == 2) {
      fs::create_directory(bak);
      fs::create_symlink(dir_ / "nowhere" / "kelmor.db", bak / "kelmor.db");
    }
    {
      test::Session session(File());
      session.Menu("备份数据");
      EXPECT_TRUE(session.driver().message_boxes().empty());
    }
    EXPECT_EQ(test::IntegrityCheck(File()), "ok");
    if (kind == 0) {
      std::ifstream in(bak);
      std::string text;
      std::getline(in, text);
      EXPECT_EQ(text, "a file");
    }
    if (kind == 1) {
      EXPECT_FALSE(fs::exists(dir_ / "nowhere"));
    }
    if (kind == 2) {
      // The link is replaced by the copy; nothing is written where it pointed.
      EXPECT_FALSE(fs::exists(dir_ / "nowhere"));
      EXPECT_EQ(test::IntegrityCheck(bak / "kelmor.db"), "ok");
    }
  }
  fs::remove_all(bak);
}

}  // namespace
}  // namespace kelmor
