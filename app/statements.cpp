#include "app/statements.h"

#include "app/sql_values.h"

namespace kelmor::statements {
namespace {

bool Herbs(Collection c) {
  return c == Collection::Herbs;
}
const char* TreeTable(Collection c) {
  return Herbs(c) ? "zylb" : "yflb";
}
const char* EntryTable(Collection c) {
  return Herbs(c) ? "zymm" : "yfmm";
}
const char* NameColumn(Collection c) {
  return Herbs(c) ? "药物名称" : "药方名称";
}

// Quote doubling is a plain byte replacement: a GBK second byte is never 0x27.
Text Q(const Text& v) {
  return DoubleQuotes(v);
}

}  // namespace

Text SelectTreeRows(Collection c) {
  return Text("select * from ") + TreeTable(c) + " ORDER BY xm";
}

Text SelectNodeByName(Collection c, const Text& name) {
  return Text("select * from ") + TreeTable(c) + " where type='" + Q(name) + "'";
}

Text SelectEntryByName(Collection c, const Text& name) {
  return Text("select * from ") + EntryTable(c) + " where " + NameColumn(c) + "='" + Q(name) + "'";
}

Text InsertCategory(Collection c, const Text& name) {
  return Text("insert into ") + TreeTable(c) + "(type,xm)values('" + Q(name) + "',0)";
}

Text RenameNode(Collection c, const Text& new_name, const Text& old_name) {
  if (Herbs(c)) {
    return "update  zylb set type='" + Q(new_name) + "' where type='" + Q(old_name) + "'";
  }
  return "update yflb set type='" + Q(new_name) + "'  where type='" + Q(old_name) + "'";
}

Text RenameEntriesCategory(Collection c, const Text& new_name, const Text& old_name) {
  return Text("update ") + EntryTable(c) + " set type='" + Q(new_name) + "',类别='" + Q(new_name) +
         "' where type='" + Q(old_name) + "'";
}

Text RenameEntry(Collection c, const Text& new_name, const Text& old_name, const Text& category) {
  return Text("update ") + EntryTable(c) + " set " + NameColumn(c) + "='" + Q(new_name) +
         "' where " + NameColumn(c) + "='" + Q(old_name) + "' and type='" + Q(category) + "'";
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

Text InsertHerb(const Text& name, const Text& category, const HerbFields& f) {
  return "insert into "
         "zymm(type,药物名称,类别,英文名称,别名,来源,植物形态1,植物形态2,生长地,采制,化学成分,"
         "性味,功能主治,附注)values('" +
         Q(category) + "', '" + Q(name) + "','" + Q(category) + "','" + Q(f.english_name) + "','" +
         Q(f.alias) + "','" + Q(f.source) + "','" + Q(f.plant_form1) + "','" + Q(f.plant_form2) +
         "','" + Q(f.habitat) + "','" + Q(f.processing) + "','" + Q(f.components) + "','" +
         Q(f.nature) + "','" + Q(f.indications) + "','" + Q(f.notes) + "')";
}

Text UpdateHerb(const Text& name, const HerbFields& f) {
  return "update zymm set 英文名称='" + Q(f.english_name) + "',别名='" + Q(f.alias) + "',来源='" +
         Q(f.source) + "',植物形态1='" + Q(f.plant_form1) + "',植物形态2='" + Q(f.plant_form2) +
         "',生长地='" + Q(f.habitat) + "',采制='" + Q(f.processing) + "',化学成分='" +
         Q(f.components) + "',性味='" + Q(f.nature) + "',功能主治='" + Q(f.indications) +
         "',附注='" + Q(f.notes) + "' where 药物名称='" + Q(name) + "'";
}

Text InsertPrescription(const Text& name, const Text& category, const PrescriptionFields& f) {
  return "insert into yfmm(type,药方名称,类别,配方,制法,功用,禁忌,备注)values('" + Q(category) +
         "', '" + Q(name) + "','" + Q(category) + "','" + Q(f.formula) + "','" + Q(f.preparation) +
         "','" + Q(f.effect) + "','" + Q(f.contra) + "','" + Q(f.remarks) + "')";
}

Text UpdatePrescription(const Text& name, const PrescriptionFields& f) {
  return "update yfmm set 配方='" + Q(f.formula) + "',制法='" + Q(f.preparation) + "',功用='" +
         Q(f.effect) + "',禁忌='" + Q(f.contra) + "',备注='" + Q(f.remarks) + "' where 药方名称='" +
         Q(name) + "'";
}

Text EntryCondition(Collection c, const Text& name) {
  return Text(NameColumn(c)) + "='" + Q(name) + "'";
}

Text SavedTreeCondition(Collection c) {
  return Herbs(c) ? "id=1" : "id=2";
}

Text SearchCondition(const Text& column, const Text& term) {
  return column + " like '%" + Q(term) + "%'";
}

}  // namespace kelmor::statements
