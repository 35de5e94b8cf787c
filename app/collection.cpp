#include "app/collection.h"

#include <array>

#include "app/entry_page.h"
#include "app/window_templates.h"

namespace kelmor {
namespace {

constexpr std::array<const char*, 11> kHerbFields{"英文名称",  "别名",     "来源", "植物形态1",
                                                  "植物形态2", "生长地",   "采制", "化学成分",
                                                  "性味",      "功能主治", "附注"};
constexpr std::array<const char*, 5> kPrescriptionFields{"配方", "制法", "功用", "禁忌", "备注"};

const CollectionDescription kHerbCollection{
    .collection = Collection::Herbs,
    .title = "中药",
    .category_table = "zylb",
    .entry_table = "zymm",
    .name_column = "药物名称",
    .category_column = "TYPE",
    .category_column_any_case = false,
    .fields = kHerbFields,
    .rename_node_head = "update  zylb set type='",
    .rename_node_where = "' where type='",
    .saved_tree_row = "1",
    .page = kHerbPageLayout,
    .summary_column = "功能主治",
    .summary_bytes = 100,
    .search_title = "【中  药】查询",
    .editor_page = 0,
    .add_title = "【中  药】添加",
    .edit_title = "【中  药】编辑",
    .name_box = editor_controls::kHerbNameBox,
    .category_box = editor_controls::kHerbCategoryBox,
    .continue_box = editor_controls::kHerbContinueBox,
    .ok_button = editor_controls::kHerbOkButton,
    .cancel_button = editor_controls::kHerbCancelButton,
    .fields_without_spaces = false,
};

const CollectionDescription kPrescriptionCollection{
    .collection = Collection::Prescriptions,
    .title = "药方",
    .category_table = "yflb",
    .entry_table = "yfmm",
    .name_column = "药方名称",
    .category_column = "type",
    .category_column_any_case = true,
    .fields = kPrescriptionFields,
    .rename_node_head = "update yflb set type='",
    .rename_node_where = "'  where type='",
    .saved_tree_row = "2",
    .page = kPrescriptionPageLayout,
    .summary_column = "功用",
    .summary_bytes = 0,
    .search_title = "【药  方】查询",
    .editor_page = 1,
    .add_title = "【药  方】添加",
    .edit_title = "【药  方】编辑",
    .name_box = editor_controls::kPrescriptionNameBox,
    .category_box = editor_controls::kPrescriptionCategoryBox,
    .continue_box = editor_controls::kPrescriptionContinueBox,
    .ok_button = editor_controls::kPrescriptionOkButton,
    .cancel_button = editor_controls::kPrescriptionCancelButton,
    .fields_without_spaces = true,
};

}  // namespace

const CollectionDescription& Describe(Collection c) {
  return c == Collection::Prescriptions ? kPrescriptionCollection : kHerbCollection;
}

}  // namespace kelmor
