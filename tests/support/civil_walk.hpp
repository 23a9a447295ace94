// An oracle for calendar tests: the civil date one day at a time from 100-01-01 (day number
// -657434, a Friday) to 9999-12-31. It shares no arithmetic with the formulas under test.
#pragma once

#include "ztldata/base/types.hpp"

namespace ztl::testing_support {

struct CivilWalk {
  long long day_number = -657434;
  int year = 100, month = 1, day = 1;
  int ordinal = 1;  // the day of the year
  int weekday = 6;  // 1 Sunday .. 7 Saturday

  static bool Leap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }
  static int Length(int y, int m) {
    if (m == 2) return Leap(y) ? 29 : 28;
    return m == 4 || m == 6 || m == 9 || m == 11 ? 30 : 31;
  }
  bool Done() const { return year > 9999; }
  // The Date of a day number at a time of day; negative Dates count their time forward.
  static Date At(long long day, double time = 0) {
    return Date{day < 0 ? static_cast<double>(day) - time : static_cast<double>(day) + time};
  }
  void Next() {
    ++day_number;
    ++ordinal;
    weekday = weekday % 7 + 1;
    if (++day > Length(year, month)) {
      day = 1;
      if (++month > 12) {
        month = 1;
        ordinal = 1;
        ++year;
      }
    }
  }
};

}  // namespace ztl::testing_support
