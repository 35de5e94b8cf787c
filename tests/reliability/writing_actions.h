// Every user action that writes to the book, played through the test driver on the file of
// MakeBookFile, with the messages it shows when all goes well and those it may show when the
// storage fails.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "runtime/value.h"
#include "tests/reliability/reliability_fixture.h"

namespace kelmor::test {

// Called by an action right before the gesture that writes (after opening the editor, typing,
// switching the collection): where a test arms its fault or takes its lock.
using Hook = std::function<void()>;

struct WritingAction {
  std::string name;
  std::function<void(Session&, const Hook& writing)> run;
  std::vector<Text> confirmations;     // shown on the fault-free run, in order
  std::vector<Text> failure_messages;  // the action's own messages of failure
  bool changes_rows = true;            // false: compaction and backup keep every row
};

std::vector<WritingAction> WritingActions();

// Test listings show the action's name, not the bytes of the struct.
inline void PrintTo(const WritingAction& action, std::ostream* out) { *out << action.name; }

}  // namespace kelmor::test
