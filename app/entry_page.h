// The labelled page of one entry as the detail view shows it: a GBK text, lines separated by
// CR LF, each label in full-width brackets, four characters wide, followed by a full-width colon.
#pragma once

#include <array>

#include "runtime/value.h"

namespace kelmor {

// Columns of an entry table in the order in which the page shows them.
inline constexpr std::array<const char*, 13> kHerbPageColumns = {
    "药物名称", "类别", "英文名称", "别名", "来源",     "植物形态1", "植物形态2",
    "生长地",   "采制", "化学成分", "性味", "功能主治", "附注"};
inline constexpr std::array<const char*, 7> kPrescriptionPageColumns = {
    "药方名称", "配方", "类别", "制法", "功用", "禁忌", "备注"};

// values[i] is the text of column kHerbPageColumns[i] (or kPrescriptionPageColumns[i]).
Text HerbPage(const std::array<Text, 13>& values);
Text PrescriptionPage(const std::array<Text, 7>& values);

}  // namespace kelmor
