// The book's two collections, herbs and prescriptions, and one description of each: everything
// that differs between them (tables and columns, the saved-tree row, the page, the search
// results, the editor's page) is read from here, so no other place chooses between the two.
#pragma once

#include <array>
#include <span>

namespace kelmor {

enum class Collection { Herbs = 1, Prescriptions = 2 };
inline constexpr std::array<Collection, 2> kCollections = {Collection::Herbs,
                                                           Collection::Prescriptions};

struct PageLayout;  // entry_page.h

struct CollectionDescription {
  Collection collection;
  const char* title;  // as the collection's button names it

  // ---- Tables and columns ----
  const char* category_table;  // one row per tree node
  const char* entry_table;     // one row per entry
  const char* name_column;     // the entry's name, by which it is found
  // The category column as the book declares it. The field chooser hides it in exactly this
  // spelling, or in any letter case when category_column_any_case.
  const char* category_column;
  bool category_column_any_case;
  // The entry's own columns after its name and category, in the order of the insert statement;
  // the editor has one box for each, named after it.
  std::span<const char* const> fields;
  // A node rename is "<head>NEW<where>OLD'"; the two collections space it differently.
  const char* rename_node_head;
  const char* rename_node_where;

  // ---- The saved tree: the lbsj row with this id ----
  const char* saved_tree_row;

  // ---- The page and the search results ----
  const PageLayout& page;
  const char* summary_column;  // the third column of a result row
  int summary_bytes;           // only its first bytes; 0: all of it
  const char* search_title;

  // ---- The editor's page of this collection ----
  int editor_page;  // its tab page
  const char* add_title;
  const char* edit_title;
  const char* name_box;
  const char* category_box;
  const char* continue_box;  // "连续添加"
  const char* ok_button;
  const char* cancel_button;
  // Its values lose their spaces: a dose is written right after its herb.
  bool fields_without_spaces;
};

const CollectionDescription& Describe(Collection c);

}  // namespace kelmor
