// SPDX-License-Identifier: GPL-3.0-or-later
// List-directed READ and WRITE: values without a format.
#include <cctype>
#include <exception>
#include <string>

#include "recfmt/edit_input.h"
#include "recfmt/edit_output.h"
#include "recfmt/messages.h"
#include "recfmt/statements.h"
#include "recfmt/stop.h"
#include "recfmt/unit.h"

namespace recfmt {
namespace {

using detail::not_connected;
using detail::write_failed;

bool is_blank(char c) {
  return c == ' ' || c == '\t';
}

}  // namespace

// ---- ListReader

struct ListReader::State {
  // One value of the input: text, or null (leaves the item unchanged).
  struct Value {
    bool null = true;
    bool quoted = false;
    std::string text;
  };

  int32_t unit_number;
  OnError on_error;
  detail::Unit* unit = nullptr;
  std::string line;
  std::size_t col = 0;
  std::size_t value_start = 0;  // where the value being read starts, for the error report
  bool have_line = false;
  bool ok = true;
  bool ended = false;        // a slash ended the read
  bool after_value = false;  // a value was read and its separator not yet met
  int32_t repeat_left = 0;   // copies of `repeated` still to hand out
  Value repeated;
  bool finished = false;
  int exceptions = std::uncaught_exceptions();

  void fail(std::string_view message) {
    ok = false;
    if (on_error == OnError::Stop) {
      finished = true;
      const std::string where =
          unit != nullptr ? unit->where(static_cast<int32_t>(value_start)) : std::string();
      detail::report_and_stop("READ", detail::unit_text(unit_number), message, where);
    }
  }

  bool next_line() {
    col = 0;
    value_start = 0;
    const std::string_view failure = detail::read_for_statement(*unit, unit_number, line);
    if (!failure.empty()) {
      fail(failure);
      return false;
    }
    have_line = true;
    return true;
  }

  // A quoted string; a doubled quote character stands for one. It ends at its closing
  // quote or, failing that, at the end of the line.
  std::string quoted() {
    const char q = line[col++];
    std::string out;
    while (col < line.size()) {
      const char c = line[col++];
      if (c == q) {
        if (col < line.size() && line[col] == q) {
          out.push_back(q);
          ++col;
          continue;
        }
        break;
      }
      out.push_back(c);
    }
    return out;
  }

  // The next value, going on to further lines as needed. False after a slash or a failure.
  bool next_value(Value& v) {
    if (repeat_left > 0) {
      --repeat_left;
      v = repeated;
      return true;
    }
    if (!have_line && !next_line()) return false;
    while (true) {
      while (col < line.size() && is_blank(line[col])) ++col;
      if (col >= line.size()) {
        if (!next_line()) return false;
        continue;
      }
      const char c = line[col];
      if (c == ',') {
        ++col;
        if (after_value) {
          after_value = false;
          continue;
        }
        v = Value{};  // nothing between two commas
        return true;
      }
      if (c == '/') {
        ++col;
        ended = true;
        return false;
      }
      break;
    }
    after_value = true;
    value_start = col;
    // r*value stands for r copies of the value, r* for r null values.
    int32_t repeat = 1;
    std::size_t digits_end = col;
    while (digits_end < line.size() && line[digits_end] >= '0' && line[digits_end] <= '9') {
      ++digits_end;
    }
    if (digits_end > col && digits_end < line.size() && line[digits_end] == '*') {
      const std::string_view failure =
          read_integer_field(std::string_view(line).substr(col, digits_end - col), repeat);
      if (!failure.empty() || repeat <= 0) {
        fail(failure.empty() ? illegal_numeric : failure);
        return false;
      }
      col = digits_end + 1;
    }
    v = Value{};
    if (col < line.size() && (line[col] == '\'' || line[col] == '"')) {
      v.null = false;
      v.quoted = true;
      v.text = quoted();
    } else {
      const std::size_t start = col;
      while (col < line.size() && !is_blank(line[col]) && line[col] != ',' && line[col] != '/') {
        ++col;
      }
      v.null = col == start;
      v.text = line.substr(start, col - start);
    }
    if (repeat > 1) {
      repeated = v;
      repeat_left = repeat - 1;
    }
    return true;
  }

  void assign(const In& item, const Value& v) {
    using Kind = In::Kind;
    switch (item.kind()) {
      case Kind::Integer: {
        // Only an optional sign and at least one digit.
        const std::string& t = v.text;
        const std::size_t digits = (!t.empty() && (t[0] == '+' || t[0] == '-')) ? 1 : 0;
        if (v.quoted || t.size() == digits ||
            t.find_first_not_of("0123456789", digits) != std::string::npos) {
          return fail(illegal_numeric);
        }
        const std::string_view failure = read_integer_field(t, *item.integer());
        if (!failure.empty()) fail(failure);
        return;
      }
      case Kind::Real: {
        // A value needs a digit: a lone sign or point is not a number here.
        if (v.quoted || v.text.find_first_of("0123456789") == std::string::npos) {
          return fail(illegal_numeric);
        }
        const std::string_view failure = read_real_field(v.text, 0, *item.real());
        if (!failure.empty()) fail(failure);
        return;
      }
      case Kind::Logical:
        if (v.quoted || !read_logical_field(v.text, *item.integer())) fail(illegal_logical);
        return;
      case Kind::Character:
        assign_text(item.text(), v.text);
        return;
    }
  }
};

ListReader::ListReader(int32_t unit, OnError on_error) : s_(std::make_unique<State>()) {
  s_->unit_number = unit;
  s_->on_error = on_error;
  detail::pump_messages();
  s_->unit = detail::find_unit(unit, true);
  if (s_->unit == nullptr) s_->fail(not_connected);
}

ListReader::~ListReader() noexcept(false) {
  if (s_ && std::uncaught_exceptions() == s_->exceptions) (void)finish();
}

ListReader& ListReader::operator>>(const In& item) {
  State& s = *s_;
  if (!s.ok || s.ended || s.finished) return *this;
  State::Value v;
  if (!s.next_value(v)) return *this;
  if (!v.null) s.assign(item, v);
  return *this;
}

bool ListReader::finish() {
  State& s = *s_;
  if (s.finished) return s.ok;
  s.finished = true;
  // A read of no items still passes over one line.
  if (s.ok && !s.have_line && !s.ended) (void)s.next_line();
  return s.ok;
}

// ---- ListWriter

struct ListWriter::State {
  int32_t unit_number;
  detail::Unit* unit = nullptr;
  std::string record = " ";
  bool first = true;
  bool last_was_text = false;
  bool finished = false;
  int exceptions = std::uncaught_exceptions();
};

ListWriter::ListWriter(int32_t unit) : s_(std::make_unique<State>()) {
  s_->unit_number = unit;
  detail::pump_messages();
  s_->unit = detail::find_unit(unit, false);
  if (s_->unit == nullptr) {
    s_->finished = true;
    runtime_error("WRITE", unit, not_connected);
  }
}

ListWriter::~ListWriter() noexcept(false) {
  if (s_ && std::uncaught_exceptions() == s_->exceptions) finish();
}

ListWriter& ListWriter::operator<<(const Out& item) {
  State& s = *s_;
  if (s.finished) return *this;
  switch (item.kind()) {
    case Out::Kind::Character:
      if (!s.first && !s.last_was_text) s.record.push_back(' ');
      s.record.append(item.text());
      break;
    case Out::Kind::Integer:
      edit_list_integer(s.record, item.integer());
      break;
    case Out::Kind::Real:
      edit_list_real(s.record, item.real());
      break;
    case Out::Kind::Logical:
      edit_list_logical(s.record, item.logical());
      break;
  }
  s.last_was_text = item.kind() == Out::Kind::Character;
  s.first = false;
  return *this;
}

void ListWriter::finish() {
  State& s = *s_;
  if (s.finished) return;
  s.finished = true;
  if (!s.unit->write_record(s.record)) runtime_error("WRITE", s.unit_number, write_failed);
}

void read_list(int32_t unit, std::initializer_list<In> items) {
  ListReader r(unit, OnError::Stop);
  for (const In& item : items) r >> item;
  (void)r.finish();
}

void write_list(int32_t unit, std::initializer_list<Out> items) {
  ListWriter w(unit);
  for (const Out& item : items) w << item;
  w.finish();
}

}  // namespace recfmt
