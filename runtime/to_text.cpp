#include "runtime/to_text.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace kelmor {

namespace {

Text Format(const char* format, auto value) {
  char buffer[64];
  int n = std::snprintf(buffer, sizeof buffer, format, value);
  return n > 0 ? Text(buffer, static_cast<std::size_t>(n)) : Text();
}

// Days since 1970-01-01 to a civil date (proleptic Gregorian).
void CivilFromDays(std::int64_t z, int& y, int& m, int& d) {
  z += 719468;
  std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  std::int64_t doe = z - era * 146097;
  std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  std::int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
}

}  // namespace

CivilTime ToCivilTime(DateTime date) {
  // Whole seconds, rounded, so that 08:30:00 stored as a binary fraction stays 08:30:00.
  double total = std::round(date.days * 86400.0);
  std::int64_t seconds = static_cast<std::int64_t>(total);
  std::int64_t days = seconds >= 0 ? seconds / 86400 : -((-seconds + 86399) / 86400);
  std::int64_t in_day = seconds - days * 86400;
  CivilTime t{};
  CivilFromDays(days - 25569, t.year, t.month, t.day);  // 1899-12-30 is 25569 days before 1970
  t.hour = static_cast<int>(in_day / 3600);
  t.minute = static_cast<int>(in_day / 60 % 60);
  t.second = static_cast<int>(in_day % 60);
  return t;
}

Text ToText(const Value& value) {
  const Value::Storage& v = value.storage();
  switch (v.index()) {
    case 1:
      return Format("%u", static_cast<unsigned>(std::get<1>(v)));
    case 2:
      return Format("%d", static_cast<int>(std::get<2>(v)));
    case 3:
      return Format("%d", std::get<3>(v));
    case 4:
      return std::to_string(std::get<4>(v));
    case 5:
      return Format("%.6g", static_cast<double>(std::get<5>(v)));
    case 6:
      return Format("%.13g", std::get<6>(v));
    case 7:
      return std::get<7>(v) ? "真" : "假";
    case 8: {
      CivilTime t = ToCivilTime(std::get<8>(v));
      char buffer[96];
      int n = std::snprintf(buffer, sizeof buffer, "%d年%d月%d日", t.year, t.month, t.day);
      Text text(buffer, static_cast<std::size_t>(n));
      if (t.second != 0) {
        n = std::snprintf(buffer, sizeof buffer, "%d时%d分%d秒", t.hour, t.minute, t.second);
      } else if (t.minute != 0) {
        n = std::snprintf(buffer, sizeof buffer, "%d时%d分", t.hour, t.minute);
      } else if (t.hour != 0) {
        n = std::snprintf(buffer, sizeof buffer, "%d时", t.hour);
      } else {
        n = 0;
      }
      text.append(buffer, static_cast<std::size_t>(n));
      return text;
    }
    case 9:
      return std::get<9>(v);
    case 10: {
      const Bytes& b = std::get<10>(v);
      std::size_t n = 0;
      while (n < b.size() && b[n] != 0) ++n;
      return Text(reinterpret_cast<const char*>(b.data()), n);
    }
    default:
      return Text();
  }
}

}  // namespace kelmor
