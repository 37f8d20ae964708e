// SPDX-License-Identifier: GPL-3.0-or-later
// Input/output statements on units: formatted, list-directed and internal.
//
// A statement object lives for one READ or WRITE: construct it (this pumps pending
// window messages and looks the unit up), transfer the items one by one, then call
// finish() (the destructor finishes a statement that was not finished, unless an
// exception is unwinding). The one-call helpers below cover fixed item lists; the
// statement objects serve lists built in loops (implied DO).
//
// A statement without an error return that fails (bad character, end of file, unit
// not connected) writes the three-line run-time error report on the console and stops
// the run with exit code 2 (see stop.h). A statement with an error return reports the
// failure through finish() instead -- except end of input on a console unit, which no
// retry can mend and so always ends the run.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>

#include "recfmt/format.h"
#include "recfmt/items.h"

namespace recfmt {

// The unit `*`: standard input in a READ, standard output in a WRITE.
inline constexpr int32_t star = -1;

enum class OnError : uint8_t { Stop, Return };

class Writer {
 public:
  Writer(int32_t unit, const Format& format);
  // The statement keeps a reference to its format: a temporary would not outlive it.
  Writer(int32_t unit, Format&& format) = delete;
  ~Writer() noexcept(false);  // may end the run when it finishes the statement
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;

  Writer& operator<<(const Out& item);
  // Runs the format on to its end (list exhausted) and writes the last record.
  void finish();

 private:
  struct State;
  std::unique_ptr<State> s_;
};

class Reader {
 public:
  Reader(int32_t unit, const Format& format, OnError on_error = OnError::Stop);
  Reader(int32_t unit, Format&& format, OnError on_error = OnError::Stop) = delete;
  ~Reader() noexcept(false);  // may end the run when it finishes the statement
  Reader(const Reader&) = delete;
  Reader& operator=(const Reader&) = delete;

  Reader& operator>>(const In& item);
  // True when every item was read. After a failure the remaining items are skipped.
  bool finish();

 private:
  struct State;
  std::unique_ptr<State> s_;
};

class ListReader {
 public:
  explicit ListReader(int32_t unit, OnError on_error = OnError::Stop);
  ~ListReader() noexcept(false);  // may end the run when it finishes the statement
  ListReader(const ListReader&) = delete;
  ListReader& operator=(const ListReader&) = delete;

  ListReader& operator>>(const In& item);
  bool finish();

 private:
  struct State;
  std::unique_ptr<State> s_;
};

class ListWriter {
 public:
  explicit ListWriter(int32_t unit);
  ~ListWriter() noexcept(false);  // may end the run when it finishes the statement
  ListWriter(const ListWriter&) = delete;
  ListWriter& operator=(const ListWriter&) = delete;

  ListWriter& operator<<(const Out& item);
  void finish();

 private:
  struct State;
  std::unique_ptr<State> s_;
};

// WRITE (unit, format) items
void write(int32_t unit, const Format& format, std::initializer_list<Out> items = {});
void write(int32_t unit, const Format& format, std::span<const Out> items);
// READ (unit, format) items -- no error return: a failure ends the run.
void read(int32_t unit, const Format& format, std::initializer_list<In> items = {});
// READ (unit, format, ERR=, END=) items -- returns false on failure.
[[nodiscard]] bool read_checked(int32_t unit, const Format& format,
                                std::initializer_list<In> items = {});
// READ (unit, *) items
void read_list(int32_t unit, std::initializer_list<In> items);
// WRITE (unit, *) items
void write_list(int32_t unit, std::initializer_list<Out> items);
// WRITE (variable, format) items -- the character variable is the one record; columns
// after the last character written are set to blanks.
void write_internal(std::span<char> variable, const Format& format,
                    std::initializer_list<Out> items = {});

}  // namespace recfmt
