// Every user action that writes to the book, played through the test driver on the file of
// MakeBookFile, with the messages it shows when all goes well and those it may show when the
// storage fails.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "runtime/value.h"
#include "tests/reliability/reliability_fixture.h"

namespace kelmor::test {

struct WritingAction {
  std::string name;
  std::function<void(Session&)> run;
  std::vector<Text> confirmations;     // shown on the fault-free run, in order
  std::vector<Text> failure_messages;  // the action's own messages of failure
  bool changes_rows = true;            // false: compaction and backup keep every row
};

std::vector<WritingAction> WritingActions();

}  // namespace kelmor::test
