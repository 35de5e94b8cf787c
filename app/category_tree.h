// The category tree of the current collection: built from its category table, saved packed in
// lbsj and shown again from the saved copy.
#pragma once

#include "app/application.h"
#include "runtime/value.h"
#include "sqlite_access/sqlite_db.h"

namespace kelmor {

// Replaces the tree by the category table of the current collection and empties the detail
// page. Pending events are processed between rows. False when the main window went away while
// events were processed (nothing more may touch it then), and when the category rows could not
// be read (the tree and the page are left as they were) or not all of them (the tree is then
// part built).
bool BuildTree(Application& app);

// "更新": BuildTree, store the result packed in lbsj, show the stored copy.
void UpdateTree(Application& app);
// The same, telling whether the tree was built and stored (an action that changed the rows
// fails when their tree cannot be stored with them).
bool UpdateSavedTree(Application& app);

// Writes the packed content into the collection's lbsj row. True only when the row exists and
// the packed value was really written.
bool SaveTree(Application& app, Collection c, const Bytes& content);

// Whether the collection's lbsj row exists.
bool HasTreeRow(Application& app, Collection c);

// The unpacked content of the collection's lbsj row; empty when the row is missing or its value
// does not unpack.
Bytes LoadTree(Application& app, Collection c);
Bytes LoadTree(const SqliteDB& db, Collection c);

// Puts the saved tree of that collection into the tree box.
void ShowSavedTree(Application& app, Collection c);

}  // namespace kelmor
