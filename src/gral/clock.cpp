// SPDX-License-Identifier: GPL-3.0-or-later
#include "gral/clock.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#include "gral/formats.h"
#include "recfmt/statements.h"

namespace gral {

namespace {

TimeSource current_source = nullptr;

LocalTime now() {
  return current_source != nullptr ? current_source() : system_local_time();
}

// Writes value as exactly `digits` decimal digits with leading zeros (the value is cut to
// fit, so a field never spills into its neighbour).
void put_digits(char* out, int32_t value, int32_t digits) {
  uint32_t v = value < 0 ? 0u : static_cast<uint32_t>(value);
  for (int32_t i = digits - 1; i >= 0; --i) {
    out[i] = static_cast<char>('0' + v % 10u);
    v /= 10u;
  }
}

}  // namespace

LocalTime system_local_time() {
  using namespace std::chrono;
  const system_clock::time_point t = system_clock::now();
  const std::time_t seconds = system_clock::to_time_t(t);
  const auto millis = duration_cast<milliseconds>(t.time_since_epoch()) % 1000;
  std::tm local{};
#if defined(_WIN32)
  localtime_s(&local, &seconds);
#else
  localtime_r(&seconds, &local);
#endif
  return LocalTime{local.tm_year + 1900,
                   local.tm_mon + 1,
                   local.tm_mday,
                   local.tm_hour,
                   local.tm_min,
                   local.tm_sec,
                   static_cast<int32_t>(millis.count())};
}

void set_time_source(TimeSource source) {
  current_source = source;
}

void c8time(recfmt::Text<8>& c8) {
  const LocalTime t = now();
  // hhmmss.sss
  char time10[10];
  put_digits(time10, t.hour, 2);
  put_digits(time10 + 2, t.minute, 2);
  put_digits(time10 + 4, t.second, 2);
  time10[6] = '.';
  put_digits(time10 + 7, t.millisecond, 3);
  const std::string_view s(time10, sizeof time10);
  recfmt::write_internal(c8.span(), formats::clock_time,
                         {s.substr(0, 2), s.substr(2, 2), s.substr(4, 2)});
}

void c10date(recfmt::Text<10>& c10) {
  const LocalTime t = now();
  // yyyymmdd
  char date8[8];
  put_digits(date8, t.year, 4);
  put_digits(date8 + 4, t.month, 2);
  put_digits(date8 + 6, t.day, 2);
  const std::string_view s(date8, sizeof date8);
  recfmt::write_internal(c10.span(), formats::clock_date,
                         {s.substr(0, 4), s.substr(4, 2), s.substr(6, 2)});
}

}  // namespace gral
