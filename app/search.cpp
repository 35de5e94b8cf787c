#include "app/search.h"

#include "app/commands.h"
#include "app/entry_view.h"
#include "app/statements.h"
#include "platform/gbk_chars.h"
#include "runtime/char_format.h"
#include "runtime/cursor_commands.h"
#include "runtime/dialogs.h"
#include "runtime/key_codes.h"
#include "runtime/list_view_control.h"
#include "runtime/rich_edit_control.h"
#include "runtime/text_commands.h"
#include "runtime/tree_box.h"
#include "runtime/window_commands.h"
#include "sqlite_access/sqlite_table.h"

namespace kelmor {

namespace {

// The rich edit counts characters; a GBK lead byte and its trail byte are one.
int CharacterCount(const Text& text) {
  int count = 0;
  for (std::size_t i = 0; i < text.size(); ++i, ++count) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (platform::IsGbkLead(byte) && i + 1 < text.size()) ++i;
  }
  return count;
}

}  // namespace

void StartSearch(Application& app) {
  if (!app.CommandMayStart()) return;
  const ControlRef chooser = app.FieldChooser();
  const int field = GetComboIndex(chooser);
  if (field == -1) {
    MsgBox(Value::FromText("请选择查询项目"), kMsgBoxOk);
    return;
  }
  const Text term = GetText(app.SearchBox());
  if (term.empty()) {
    MsgBox(Value::FromText("请查询内容"), kMsgBoxOk);
    return;
  }
  app.search_condition = statements::SearchCondition(ComboItemText(chooser, field), term);
  LoadWindow(app.search_window, {}, true);
}

bool WalkSearchResults(const SqliteDB& db, Collection c, const Text& condition,
                       const std::function<bool(const SearchResultRow&)>& row,
                       const std::function<bool()>& before_step) {
  const CollectionDescription& d = Describe(c);
  SqliteTable table;
  if (!table.Open(d.entry_table, db)) return false;
  while (!table.IsEnd()) {
    if (before_step && !before_step()) break;
    table.Next();
    // Find leaves the row where it was when nothing matches from here on, and nothing can
    // match from a later row either, so the walk ends there.
    if (!table.Find(condition)) break;
    SearchResultRow result;
    result.name = table.ReadText(d.name_column);
    if (result.name.empty()) continue;
    result.summary = table.ReadText(d.summary_column);
    if (d.summary_bytes > 0) result.summary = LeftText(result.summary, d.summary_bytes);
    result.category = table.ReadText("类别");
    if (!row(result)) break;
  }
  table.Close();
  return true;
}

void FillResults(Application& app) {
  // The listing lets events through between rows so that the main window keeps painting; no
  // command that would change the book starts meanwhile, and a close request waits for the list.
  Application::BusyScope busy(app);
  Application::CommandScope running(app);
  WaitCursor();
  const CollectionDescription& c = app.CurrentCollection();
  SetText({app.search_window, ""}, c.search_title);
  const ControlRef list{app.search_window, search_controls::kResultList};
  // Each step and read of the walk is a statement of its own, and outside a transaction each
  // takes and drops the file's lock: several system calls per statement, several statements per
  // hit. One read transaction holds the lock for the whole listing instead; nothing writes the
  // book meanwhile (busy above), and the list is one consistent view of it.
  const bool reading = app.database && app.database->BeginTransaction();
  if (app.database) {
    const WindowId window = app.search_window;
    WalkSearchResults(
        *app.database, c.collection, app.search_condition,
        [&list](const SearchResultRow& result) {
          AddRow(list);
          const int row = GetRowCount(list) - 1;
          SetCellText(list, row, 0, result.category);
          SetCellText(list, row, 1, result.name);
          SetCellText(list, row, 2, result.summary);
          return true;
        },
        [window] {
          DoEvents();
          // Gone from outside (its owner closed by force): nothing may touch its list.
          return IsWindowLoaded(window);
        });
  }
  if (reading) app.database->CommitTransaction();
  RestoreCursor();
}

void OpenResult(Application& app) {
  if (!app.CommandMayStart()) return;
  const ControlRef list{app.search_window, search_controls::kResultList};
  const Text name = GetCellText(list, GetCurrentRow(list), 1);
  if (name.empty()) return;
  const ControlRef tree = app.Tree();
  const int count = GetTreeItemCount(tree);
  for (int i = 0; i < count; ++i) {
    if (GetTreeItemText(tree, i) == name) SetCurrentItem(tree, i);
  }
  ShowEntry(app, name);

  const ControlRef page = app.Page();
  const Text term = GetText(app.SearchBox());
  const int found = FindText(page, 1, false, true, term);
  if (found >= 0) {
    SetSelectionStart(page, found);
    SetSelectionLength(page, CharacterCount(term));
    SetSelectionCharFormat(page, CharFormat{"宋体", 9, 0, kEffectBold, 0x800000});
  } else {
    // Nothing found: an empty selection, so no text is marked.
    SetSelectionStart(page, 0);
    SetSelectionLength(page, 0);
  }
  FocusControl(page);
}

void WireSearchWindow(Application& app) {
  Application* a = &app;
  OnEvent({app.search_window, ""}, Event::Created, [a] { FillResults(*a); });
  OnEvent({app.search_window, search_controls::kResultList}, Event::DoubleClicked,
          [a] { OpenResult(*a); });
  OnKeyPressed({app.search_window, search_controls::kResultList}, [a](int key) {
    if (key == kKeyEnter) OpenResult(*a);
  });
  const WindowId w = app.search_window;
  OnKeyPressed({w, ""}, [w](int key) {
    if (key == kKeyEscape) CloseWindow(w);
  });
}

}  // namespace kelmor
