// The labelled page of one entry as the detail view shows it: a GBK text, lines separated by
// CR LF, each label in full-width brackets, four characters wide, followed by a full-width colon.
#pragma once

#include <array>
#include <span>

#include "runtime/value.h"

namespace kelmor {

// Columns of an entry table in the order in which the page shows them.
inline constexpr std::array<const char*, 13> kHerbPageColumns = {
    "药物名称", "类别", "英文名称", "别名", "来源",     "植物形态1", "植物形态2",
    "生长地",   "采制", "化学成分", "性味", "功能主治", "附注"};
inline constexpr std::array<const char*, 7> kPrescriptionPageColumns = {
    "药方名称", "配方", "类别", "制法", "功用", "禁忌", "备注"};

// The columns a page shows and the label before each (as long as the columns).
struct PageLayout {
  std::span<const char* const> columns;
  std::span<const char* const> labels;
};
extern const PageLayout kHerbPageLayout;
extern const PageLayout kPrescriptionPageLayout;

// Shown instead of a stored value that the program could not read (a character GBK lacks).
inline constexpr const char* kUnreadableValue = "（此项含有本程序不能显示的文字）";

// values[i] is the text of layout.columns[i]; a missing value counts as empty.
Text ComposePage(const PageLayout& layout, std::span<const Text> values);

}  // namespace kelmor
