#include "app/statements.h"

#include <string>

#include "app/sql_values.h"

namespace kelmor::statements {
namespace {

const char* TreeTable(Collection c) {
  return Describe(c).category_table;
}
const char* EntryTable(Collection c) {
  return Describe(c).entry_table;
}
const char* NameColumn(Collection c) {
  return Describe(c).name_column;
}

// Quote doubling is a plain byte replacement: a GBK second byte is never 0x27.
Text Q(const Text& v) {
  return DoubleQuotes(v);
}

Text FieldValue(std::span<const Text> fields, std::size_t i) {
  return i < fields.size() ? Q(fields[i]) : Text();
}

}  // namespace

Text SelectTreeRows(Collection c) {
  return Text("select * from ") + TreeTable(c) + " ORDER BY xm";
}

Text SelectNodeByName(Collection c, const Text& name) {
  return Text("select * from ") + TreeTable(c) + " where type='" + Q(name) + "'";
}

Text SelectEntryByName(Collection c, const Text& name) {
  return SelectEntries(c, EntryCondition(c, name));
}

Text SelectEntries(Collection c, const Text& condition) {
  return Text("select * from ") + EntryTable(c) + " where " + condition;
}

Text SelectOtherCategories(Collection c, const Text& name, std::int32_t id) {
  return SelectNodeByName(c, name) + " and xm=0 and id<>" + std::to_string(id);
}

Text OnlyRow(const Text& statement, std::int32_t id) {
  return statement + " and id=" + std::to_string(id);
}

Text InsertCategory(Collection c, const Text& name) {
  return Text("insert into ") + TreeTable(c) + "(type,xm)values('" + Q(name) + "',0)";
}

Text RenameNode(Collection c, const Text& new_name, const Text& old_name) {
  const CollectionDescription& d = Describe(c);
  return d.rename_node_head + Q(new_name) + d.rename_node_where + Q(old_name) + "'";
}

Text RenameEntriesCategory(Collection c, const Text& new_name, const Text& old_name) {
  return Text("update ") + EntryTable(c) + " set type='" + Q(new_name) + "',类别='" + Q(new_name) +
         "' where type='" + Q(old_name) + "'";
}

Text RenameEntry(Collection c, const Text& new_name, const Text& old_name, const Text& category) {
  return Text("update ") + EntryTable(c) + " set " + NameColumn(c) + "='" + Q(new_name) +
         "' where " + EntryCondition(c, old_name, category);
}

Text DeleteNode(Collection c, const Text& name) {
  return Text("delete from ") + TreeTable(c) + " where type='" + Q(name) + "'";
}

Text DeleteEntriesOfCategory(Collection c, const Text& name) {
  return Text("delete from ") + EntryTable(c) + " where type='" + Q(name) + "'";
}

Text InsertEntryTreeRow(Collection c, const Text& name, const Text& category) {
  return Text("insert into ") + TreeTable(c) + "(type,xm)select '" + Q(name) + "',id from " +
         TreeTable(c) + " where type='" + Q(category) + "'";
}

// The separator after the first value is "', '" (with a space), all others "','".
Text InsertEntry(Collection c, const Text& name, const Text& category,
                 std::span<const Text> fields) {
  const CollectionDescription& d = Describe(c);
  Text columns = Text("type,") + d.name_column + ",类别";
  Text values = "'" + Q(category) + "', '" + Q(name) + "','" + Q(category) + "'";
  for (std::size_t i = 0; i < d.fields.size(); ++i) {
    columns += Text(",") + d.fields[i];
    values += ",'" + FieldValue(fields, i) + "'";
  }
  return Text("insert into ") + d.entry_table + "(" + columns + ")values(" + values + ")";
}

Text UpdateEntry(Collection c, std::span<const std::optional<Text>> fields, const Text& condition) {
  const CollectionDescription& d = Describe(c);
  Text sql = Text("update ") + d.entry_table + " set ";
  for (std::size_t i = 0; i < d.fields.size(); ++i) {
    if (i > 0) sql += ",";
    const Text column = d.fields[i];
    if (i < fields.size() && !fields[i]) {
      sql += column + "=" + column;
    } else {
      sql += column + "='" + (i < fields.size() ? Q(*fields[i]) : Text()) + "'";
    }
  }
  return sql + " where " + condition;
}

Text EntryCondition(Collection c, const Text& name) {
  return Text(NameColumn(c)) + "='" + Q(name) + "'";
}

Text EntryCondition(Collection c, const Text& name, const Text& category) {
  return EntryCondition(c, name) + " and type='" + Q(category) + "'";
}

Text SavedTreeCondition(Collection c) {
  return Text("id=") + Describe(c).saved_tree_row;
}

Text SearchCondition(const Text& column, const Text& term) {
  return column + " like '%" + Q(term) + "%'";
}

}  // namespace kelmor::statements
