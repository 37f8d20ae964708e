// SPDX-License-Identifier: GPL-3.0-or-later
// The record transport behind a unit number: files, the console and window units.
// Statements see only whole records; buffering and line ends live here.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace recfmt::detail {

enum class ReadStatus : uint8_t { Ok, End, Error, TooLong };

// No record may be longer than this: a file without line ends (or an endless device on
// standard input) ends the run instead of filling the memory.
inline constexpr int32_t max_record_length = 4 << 20;

class Unit {
 public:
  virtual ~Unit() = default;
  // The next record without its line end, every carriage return dropped and every tab
  // expanded to the next multiple of 8 columns.
  virtual ReadStatus read_record(std::string& record) = 0;
  // Writes the record's text followed by CR LF. False when the bytes could not be written.
  virtual bool write_record(std::string_view text) = 0;
  // A console unit: its end of input cannot be mended by asking again.
  virtual bool is_console() const { return false; }
  // Where reading stopped, for the error report: the file, its line and the column
  // (counted from 0 in the record). Empty for the console.
  virtual std::string where(int32_t /*column*/) const { return {}; }
};

// The unit a statement transfers through; nullptr when the number is not connected.
// Unit `*` and 9 mean standard input for reading and standard output for writing.
Unit* find_unit(int32_t unit, bool for_reading);

// Turns raw line bytes (without the line feed) into a record.
void clean_line(std::string_view raw, std::string& record);

// Calls the PumpMessages hook: the first thing every statement does.
void pump_messages();

}  // namespace recfmt::detail

namespace recfmt::detail {

// The three-line run-time error report, then the stop with exit code 2. unit_text is the
// unit as the statement names it ("3", "*"). A failed read from a file adds a fourth
// line saying where in the file reading stopped (where, from Unit::where).
[[noreturn]] void report_and_stop(std::string_view statement, std::string_view unit_text,
                                  std::string_view message, std::string_view where = {});
std::string unit_text(int32_t unit);

// The next record for a READ statement: empty on success, else the failure message for
// the caller's error handling. The end of input on a console unit ends the run here,
// error return or not: asking the console again cannot bring more input, and a retry
// loop would spin for ever. So does a record longer than max_record_length, from any unit.
std::string_view read_for_statement(Unit& unit, int32_t unit_number, std::string& record);

}  // namespace recfmt::detail
