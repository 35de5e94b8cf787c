#include "sqlite_access/statement_text.h"

namespace kelmor::sqlite {

std::string FillTemplate(std::string_view pattern, std::initializer_list<std::string_view> args) {
  std::size_t size = pattern.size();
  for (std::string_view a : args) size += a.size();
  std::string out;
  out.reserve(size);
  const std::string_view* next = args.begin();
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's') {
      if (next != args.end()) out.append(*next++);
      ++i;
    } else {
      out.push_back(pattern[i]);
    }
  }
  return out;
}

}  // namespace kelmor::sqlite
