// Every statement and condition the reference book sends to SQLite, composed from its values in
// one place. Each value is placed between single quotes with its own quotes doubled, so that a
// value is stored and found as typed and can never change which rows a statement touches.
#pragma once

#include <optional>

#include "runtime/value.h"

namespace kelmor {

enum class Collection { Herbs = 1, Prescriptions = 2 };

// The collection of a collection mode (1 herbs, 2 prescriptions); none for any other mode.
inline std::optional<Collection> CollectionOfMode(int mode) {
  if (mode == 1) return Collection::Herbs;
  if (mode == 2) return Collection::Prescriptions;
  return std::nullopt;
}

// The columns of a herb as the editor delivers them (name and category go separately).
struct HerbFields {
  Text english_name;  // 英文名称
  Text alias;         // 别名
  Text source;        // 来源
  Text plant_form1;   // 植物形态1
  Text plant_form2;   // 植物形态2
  Text habitat;       // 生长地
  Text processing;    // 采制
  Text components;    // 化学成分
  Text nature;        // 性味
  Text indications;   // 功能主治
  Text notes;         // 附注
};

struct PrescriptionFields {
  Text formula;      // 配方
  Text preparation;  // 制法
  Text effect;       // 功用
  Text contra;       // 禁忌
  Text remarks;      // 备注
};

namespace statements {

Text SelectTreeRows(Collection c);
Text SelectNodeByName(Collection c, const Text& name);
Text SelectEntryByName(Collection c, const Text& name);
Text InsertCategory(Collection c, const Text& name);
Text RenameNode(Collection c, const Text& new_name, const Text& old_name);
Text RenameEntriesCategory(Collection c, const Text& new_name, const Text& old_name);
// The entry record of a renamed second-level item: the one of that category with the old name.
Text RenameEntry(Collection c, const Text& new_name, const Text& old_name, const Text& category);
Text DeleteNode(Collection c, const Text& name);
Text DeleteEntriesOfCategory(Collection c, const Text& name);
Text InsertEntryTreeRow(Collection c, const Text& name, const Text& category);
Text InsertHerb(const Text& name, const Text& category, const HerbFields& f);
Text UpdateHerb(const Text& name, const HerbFields& f);
Text InsertPrescription(const Text& name, const Text& category, const PrescriptionFields& f);
Text UpdatePrescription(const Text& name, const PrescriptionFields& f);

// Conditions for SqliteTable.Find.
Text EntryCondition(Collection c, const Text& name);
Text SavedTreeCondition(Collection c);
// column like '%term%': quotes doubled, while % and _ keep their LIKE meaning.
Text SearchCondition(const Text& column, const Text& term);

}  // namespace statements
}  // namespace kelmor
