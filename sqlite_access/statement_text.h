// Statements built from the library's templates. Each "%s" of the template takes the next
// argument; the result grows as needed, so long names and conditions are never cut.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace kelmor::sqlite {

std::string FillTemplate(std::string_view pattern, std::initializer_list<std::string_view> args);

}  // namespace kelmor::sqlite
