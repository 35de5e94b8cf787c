#include "tests/support/stored_tree.h"

#include "runtime/pack.h"
#include "tests/support/schema.h"

namespace kelmor::test {

std::vector<TreeContentRecord> StoredTreeItems(SqliteDB& db, int id) {
  return ParseTreeContent(DecompressBytes(StoredTreeValue(db, id)));
}

}  // namespace kelmor::test
