#include "app/entry_page.h"

#include <cstddef>

namespace kelmor {

namespace {

// The label that precedes each value; the second plant-form line follows the first directly.
constexpr std::array<const char*, 13> kHerbLabels = {"【药物名称】：",
                                                     "\r\n【类    别】：",
                                                     "\r\n【英文名称】：",
                                                     "\r\n【别    名】：",
                                                     "\r\n【来    源】：",
                                                     "\r\n【植物形态】：",
                                                     "",
                                                     "\r\n【生 长 地】：",
                                                     "\r\n【采    制】：",
                                                     "\r\n【化学成分】：",
                                                     "\r\n【性    味】：",
                                                     "\r\n【功能主治】：",
                                                     "\r\n【附    注】："};
// On the prescription page the column 备注 is shown under the label 附注.
constexpr std::array<const char*, 7> kPrescriptionLabels = {
    "【药方名称】：",     "\r\n【配    方】：", "\r\n【类    别】：", "\r\n【制    法】：",
    "\r\n【功    用】：", "\r\n【禁    忌】：", "\r\n【附    注】："};

}  // namespace

const PageLayout kHerbPageLayout{kHerbPageColumns, kHerbLabels};
const PageLayout kPrescriptionPageLayout{kPrescriptionPageColumns, kPrescriptionLabels};

Text ComposePage(const PageLayout& layout, std::span<const Text> values) {
  const std::size_t n = layout.labels.size();
  std::size_t size = 0;
  for (std::size_t i = 0; i < n; ++i) {
    size += std::char_traits<char>::length(layout.labels[i]);
    if (i < values.size()) size += values[i].size();
  }
  Text page;
  page.reserve(size);
  for (std::size_t i = 0; i < n; ++i) {
    page += layout.labels[i];
    if (i < values.size()) page += values[i];
  }
  return page;
}

}  // namespace kelmor
