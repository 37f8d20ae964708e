// SPDX-License-Identifier: GPL-3.0-or-later
// Local date and time of day as text, with a replaceable time source so that a run's
// header can be reproduced.
#pragma once

#include <cstdint>

#include "recfmt/items.h"

namespace gral {

// A local calendar date and time of day.
struct LocalTime {
  int32_t year;
  int32_t month;        // 1..12
  int32_t day;          // 1..31
  int32_t hour;         // 0..23
  int32_t minute;       // 0..59
  int32_t second;       // 0..59 (60 on a leap second)
  int32_t millisecond;  // 0..999
};

using TimeSource = LocalTime (*)();

// The system clock in the local time zone.
LocalTime system_local_time();

// Replaces the time source; nullptr restores the system clock.
void set_time_source(TimeSource source);

// Current local time of day as hh:mm:ss (24-hour clock; the fraction of a second dropped).
void c8time(recfmt::Text<8>& c8);

// Current local date as yyyy-mm-dd.
void c10date(recfmt::Text<10>& c10);

}  // namespace gral
