// SPDX-License-Identifier: GPL-3.0-or-later
// Formatted READ and WRITE statements: the format walk, item by item.
#include "recfmt/statements.h"

#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "recfmt/edit_input.h"
#include "recfmt/edit_output.h"
#include "recfmt/messages.h"
#include "recfmt/record.h"
#include "recfmt/stop.h"
#include "recfmt/unit.h"

namespace recfmt {
namespace detail {
namespace {

using Node = Format::Node;
using Kind = Node::Kind;

// Whether reverting to the given node can ever reach a data descriptor again.
bool has_data_from(const Format& format, int32_t start) {
  const auto& nodes = format.nodes();
  for (std::size_t i = static_cast<std::size_t>(start); i < nodes.size(); ++i) {
    if (nodes[i].is_data()) return true;
  }
  return false;
}

// X, TR, T and TL move the column alike on input and output; false for other descriptors.
bool move(Columns& columns, const Node& node) {
  switch (node.kind) {
    case Kind::Skip:
      columns.skip(node.width);
      return true;
    case Kind::Tab:
      columns.tab(node.width);
      return true;
    case Kind::TabLeft:
      columns.tab_left(node.width);
      return true;
    default:
      return false;
  }
}

}  // namespace

// Runs a format over output items, handing each finished record to a sink.
class OutputEngine {
 public:
  using Sink = std::function<bool(std::string_view)>;

  OutputEngine(const Format& format, std::string unit_text, Sink sink)
      : format_(format), unit_text_(std::move(unit_text)), sink_(std::move(sink)) {}

  void item(const Out& item) {
    const auto& nodes = format_.nodes();
    while (true) {
      while (pos_ < nodes.size()) {
        const Node& node = nodes[pos_++];
        if (node.is_data()) {
          edit(node, item);
          return;
        }
        position(node);
      }
      // Items remain at the final parenthesis: a new record, from the reversion point.
      if (!has_data_from(format_, format_.reversion_start())) fail(no_data);
      end_record();
      pos_ = static_cast<std::size_t>(format_.reversion_start());
    }
  }

  // The list is exhausted: run on through the descriptors that write without an item,
  // up to the next data descriptor or the end, then end the record.
  void finish() {
    if (finished_) return;
    finished_ = true;
    const auto& nodes = format_.nodes();
    while (pos_ < nodes.size() && !nodes[pos_].is_data()) position(nodes[pos_++]);
    end_record();
  }

 private:
  [[noreturn]] void fail(std::string_view message) {
    finished_ = true;
    report_and_stop("WRITE", unit_text_, message);
  }

  void position(const Node& node) {
    if (move(record_, node)) return;
    if (node.kind == Kind::Slash) end_record();
    if (node.kind == Kind::Literal) record_.put(node.text);
  }

  void edit(const Node& node, const Out& item) {
    field_.clear();
    using ItemKind = Out::Kind;
    switch (node.kind) {
      case Kind::Integer:
        if (item.kind() != ItemKind::Integer) fail(type_mismatch);
        edit_integer(field_, item.integer(), node.width);
        break;
      case Kind::Fixed:
        if (item.kind() != ItemKind::Real) fail(type_mismatch);
        edit_fixed(field_, item.real(), node.width, node.decimals);
        break;
      case Kind::Exponent:
        if (item.kind() != ItemKind::Real) fail(type_mismatch);
        edit_exponent(field_, item.real(), node.width, node.decimals);
        break;
      case Kind::Logical:
        if (item.kind() != ItemKind::Logical) fail(type_mismatch);
        edit_logical(field_, item.logical(), node.width);
        break;
      case Kind::Alpha:
        if (item.kind() != ItemKind::Character) fail(type_mismatch);
        edit_alpha(field_, item.text(), node.width);
        break;
      default:
        break;
    }
    record_.put(field_);
  }

  void end_record() {
    if (!sink_(record_.text())) fail(write_failed);
    record_.clear();
  }

  const Format& format_;
  std::string unit_text_;
  Sink sink_;
  std::size_t pos_ = 0;
  RecordBuilder record_;
  std::string field_;
  bool finished_ = false;
};

// Runs a format over input items, taking records from a unit. A failure either ends
// the run (no error return) or marks the statement failed and skips the rest.
class InputEngine {
 public:
  InputEngine(const Format& format, int32_t unit_number, OnError on_error)
      : format_(format), unit_number_(unit_number), on_error_(on_error) {
    pump_messages();
    unit_ = find_unit(unit_number, true);
    if (unit_ == nullptr) {
      fail(not_connected);
      return;
    }
    next_record();
  }

  void item(const In& item) {
    const auto& nodes = format_.nodes();
    while (ok_) {
      while (ok_ && pos_ < nodes.size()) {
        const Node& node = nodes[pos_++];
        if (node.is_data()) {
          edit(node, item);
          return;
        }
        position(node);
      }
      if (!ok_) return;
      if (!has_data_from(format_, format_.reversion_start())) {
        fail(no_data);
        return;
      }
      next_record();
      pos_ = static_cast<std::size_t>(format_.reversion_start());
    }
  }

  bool finish() {
    if (finished_) return ok_;
    finished_ = true;
    const auto& nodes = format_.nodes();
    while (ok_ && pos_ < nodes.size() && !nodes[pos_].is_data()) position(nodes[pos_++]);
    return ok_;
  }

 private:
  void fail(std::string_view message) {
    ok_ = false;
    if (on_error_ == OnError::Stop) {
      finished_ = true;
      const std::string where = unit_ != nullptr ? unit_->where(field_start_) : std::string();
      report_and_stop("READ", unit_text(unit_number_), message, where);
    }
  }

  void next_record() {
    cursor_.restart();
    field_start_ = 0;
    const std::string_view failure = read_for_statement(*unit_, unit_number_, cursor_.line());
    if (!failure.empty()) fail(failure);
  }

  void position(const Node& node) {
    if (move(cursor_, node)) return;
    if (node.kind == Kind::Slash) next_record();
    // A quoted text in an input format steps over its own width.
    if (node.kind == Kind::Literal) cursor_.skip(static_cast<int32_t>(node.text.size()));
  }

  void edit(const Node& node, const In& item) {
    using ItemKind = Out::Kind;
    field_start_ = cursor_.column();
    switch (node.kind) {
      case Kind::Integer: {
        if (item.kind() != ItemKind::Integer) return fail(type_mismatch);
        const std::string_view failure =
            read_integer_field(cursor_.numeric_field(node.width), *item.integer());
        if (!failure.empty()) fail(failure);
        return;
      }
      case Kind::Fixed:
      case Kind::Exponent: {
        if (item.kind() != ItemKind::Real) return fail(type_mismatch);
        const std::string_view failure =
            read_real_field(cursor_.numeric_field(node.width), node.decimals, *item.real());
        if (!failure.empty()) fail(failure);
        return;
      }
      case Kind::Logical: {
        if (item.kind() != ItemKind::Logical) return fail(type_mismatch);
        if (!read_logical_field(cursor_.field(node.width), *item.integer())) {
          fail(illegal_logical);
        }
        return;
      }
      case Kind::Alpha: {
        if (item.kind() != ItemKind::Character) return fail(type_mismatch);
        const std::span<char> var = item.text();
        const int32_t n = static_cast<int32_t>(var.size());
        const int32_t w = node.width < 0 ? n : node.width;
        const std::string f = cursor_.field(w);
        // A wide field gives its rightmost characters, a narrow one is blank padded.
        assign_text(var, w >= n ? std::string_view(f).substr(f.size() - var.size()) : f);
        return;
      }
      default:
        return;
    }
  }

  const Format& format_;
  int32_t unit_number_;
  OnError on_error_;
  Unit* unit_ = nullptr;
  std::size_t pos_ = 0;
  RecordCursor cursor_;
  int32_t field_start_ = 0;  // where the field being read starts, for the error report
  bool ok_ = true;
  bool finished_ = false;
};

}  // namespace detail

// ---- Writer

struct Writer::State {
  State(int32_t unit, detail::Unit* target, const Format& format)
      : engine(format, detail::unit_text(unit),
               [target](std::string_view text) { return target->write_record(text); }) {}
  detail::OutputEngine engine;
  int exceptions = std::uncaught_exceptions();
};

Writer::Writer(int32_t unit, const Format& format) {
  detail::pump_messages();
  detail::Unit* target = detail::find_unit(unit, false);
  if (target == nullptr) runtime_error("WRITE", unit, detail::not_connected);
  s_ = std::make_unique<State>(unit, target, format);
}

Writer::~Writer() noexcept(false) {
  if (s_ && std::uncaught_exceptions() == s_->exceptions) s_->engine.finish();
}

Writer& Writer::operator<<(const Out& item) {
  s_->engine.item(item);
  return *this;
}

void Writer::finish() {
  s_->engine.finish();
}

// ---- Reader

struct Reader::State {
  State(int32_t unit, const Format& format, OnError on_error) : engine(format, unit, on_error) {}
  detail::InputEngine engine;
  int exceptions = std::uncaught_exceptions();
};

Reader::Reader(int32_t unit, const Format& format, OnError on_error)
    : s_(std::make_unique<State>(unit, format, on_error)) {}

Reader::~Reader() noexcept(false) {
  if (s_ && std::uncaught_exceptions() == s_->exceptions) (void)s_->engine.finish();
}

Reader& Reader::operator>>(const In& item) {
  s_->engine.item(item);
  return *this;
}

bool Reader::finish() {
  return s_->engine.finish();
}

// ---- One-call helpers

void write(int32_t unit, const Format& format, std::initializer_list<Out> items) {
  write(unit, format, std::span<const Out>(items.begin(), items.size()));
}

void write(int32_t unit, const Format& format, std::span<const Out> items) {
  Writer w(unit, format);
  for (const Out& item : items) w << item;
  w.finish();
}

void read(int32_t unit, const Format& format, std::initializer_list<In> items) {
  Reader r(unit, format, OnError::Stop);
  for (const In& item : items) r >> item;
  (void)r.finish();
}

bool read_checked(int32_t unit, const Format& format, std::initializer_list<In> items) {
  Reader r(unit, format, OnError::Return);
  for (const In& item : items) r >> item;
  return r.finish();
}

void write_internal(std::span<char> variable, const Format& format,
                    std::initializer_list<Out> items) {
  // The variable is the one record: a second record, or one longer than the variable,
  // would be lost, so either ends the run.
  int32_t records = 0;
  detail::OutputEngine engine(format, "internal", [&](std::string_view text) {
    if (++records > 1 || text.size() > variable.size()) {
      detail::report_and_stop("WRITE", "internal", detail::internal_overflow);
    }
    assign_text(variable, text);
    return true;
  });
  for (const Out& item : items) engine.item(item);
  engine.finish();
}

}  // namespace recfmt
