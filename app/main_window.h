// The main window's own operations: start-up, layout, the splitter, the collection switch, the
// search field chooser, and the wiring of every main-window event to its operation.
#pragma once

#include <vector>

#include "app/application.h"
#include "runtime/value.h"
#include "sqlite_access/sqlite_db.h"

namespace kelmor {

// Created: CollectionMode 1, open the database (never creating it), bind the tree accessor,
// show the saved herb tree, detail size 10, fill the field chooser.
void StartUp(Application& app);

// SizeChanged: strip, tree, splitter and page from the window's outer size; detail size 15 when
// maximised, else 10.
void LayoutMainWindow(Application& app);

// SplitterMoved: the tree takes the width p, the page starts at p + 4 and keeps its right edge
// where the layout puts it (W - 7).
void MoveSplitter(Application& app, int p);

// "中药" and "药方": the saved tree of that collection and its field chooser.
void SwitchCollection(Application& app, Collection c);

// The column names of the current entry table, except the id and category columns.
void FillFieldChooser(Application& app);
// The same names for collection `c`: the fields a search may choose, in the table's order.
std::vector<Text> SearchFields(const SqliteDB& db, Collection c);

// Right button released over the tree: the popup menu at the mouse position.
void ShowTreePopupMenu(Application& app);

// Binds every event of the main window.
void WireMainWindow(Application& app);

}  // namespace kelmor
