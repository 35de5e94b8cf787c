// ToText, the text form of any value (used by the message box, memory files and the variant
// commands), and the civil date of an automation date. Pure functions on the runtime's values;
// every text returned is a fresh copy owned by the caller.
#pragma once

#include "runtime/value.h"

namespace kelmor {

// The text form of a value: "%u" bytes, "%d" integers, "%.6g" floats, "%.13g" doubles, "真"/"假",
// a date-time as 年月日 with the time parts that are not zero, a byte string up to its first zero
// byte; an omitted value gives the empty text.
Text ToText(const Value& value);

// The date and time of an automation date (days since 1899-12-30).
struct CivilTime {
  int year, month, day, hour, minute, second;
};
CivilTime ToCivilTime(DateTime date);

}  // namespace kelmor
