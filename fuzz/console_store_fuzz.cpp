// SPDX-License-Identifier: GPL-3.0-or-later
// The console logic driven by any sequence of typing, keys, program output, input-line
// reads, scrolling, selection, deletion and clearing, with the line store's invariants
// checked after every step: lines back to back with non-decreasing starts, lengths and
// totals within capacity, the caret within the last line, the selection within its
// line. Inputs whose first byte is odd drive a bare line store instead, step by step
// against a model of its lines; those whose first byte is 2 modulo 4 compare output,
// typing and input-line reads with a transcript kept by hand.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "vozo/console_state.h"
#include "vozo/console_view.h"
#include "vozo/line_store.h"
#include "vozo/text_cells.h"

namespace {

using gemino_fuzz::Bytes;
using vozo::ConsoleState;
using vozo::LineStore;

constexpr int max_steps = 300;

// A display that only checks what it is told: scroll positions within their ranges.
class CheckingView : public vozo::ConsoleView {
 public:
  void invalidate_cells(int32_t, int32_t, int32_t, int32_t) override {}
  void invalidate_to_right_edge(int32_t, int32_t) override {}
  void invalidate_all() override {}
  void scroll_cells(int32_t, int32_t) override {}
  void set_scroll_range(vozo::ScrollBar bar, int32_t maximum) override {
    FUZZ_CHECK(maximum >= 0);
    range_[bar == vozo::ScrollBar::vertical] = maximum;
  }
  void set_scroll_pos(vozo::ScrollBar bar, int32_t position) override {
    FUZZ_CHECK(position >= 0 && position <= range_[bar == vozo::ScrollBar::vertical]);
  }
  void move_caret(int32_t, int32_t) override {}
  void enable_menu_item(vozo::MenuId, bool) override {}

 private:
  int32_t range_[2] = {0, 0};
};

void check_store(const LineStore& store) {
  const int32_t n = store.line_count();
  FUZZ_CHECK(n >= 0 && n <= LineStore::line_capacity);
  FUZZ_CHECK(store.text_size() >= 0 && store.text_size() <= LineStore::text_capacity);
  int64_t total = 0;
  const char* next = nullptr;
  for (int32_t k = 1; k <= n; ++k) {
    const std::string_view line = store.line(k);
    // Each line starts where the one before it ended.
    if (k > 1) FUZZ_CHECK(line.data() == next);
    next = line.data() + line.size();
    total += static_cast<int64_t>(line.size());
  }
  FUZZ_CHECK(total == store.text_size());
  FUZZ_CHECK(store.line(0).empty() && store.line(n + 1).empty());
  FUZZ_CHECK(store.last_length() == store.line_length(n));
}

// A full walk of the lines costs as much as the store holds: with many lines it is
// made every few steps only (and always after the last).
// The Delete key, like every key, leaves the selection as it is: when it shortens the
// selection's line the selection may then reach past the line's end (it is drawn and
// copied only up to the end). `stale_selection` says that this may be the case.
void check_console(const ConsoleState& c, bool walk_lines, bool stale_selection = false) {
  const LineStore& store = c.store();
  if (walk_lines || store.line_count() <= 2048) check_store(store);
  FUZZ_CHECK(c.caret_column() >= 0 && c.caret_line() >= 0);
  if (!c.new_line_pending()) FUZZ_CHECK(c.caret_column() <= store.last_length());
  FUZZ_CHECK(c.top() >= 0 && c.top() <= c.vertical_max());
  FUZZ_CHECK(c.horizontal_pos() >= 0 && c.horizontal_pos() <= c.horizontal_max());
  FUZZ_CHECK(c.input_start() >= 0);
  if (c.has_selection()) {
    FUZZ_CHECK(c.selection_line() >= 0);
    FUZZ_CHECK(0 <= c.selection_start() && c.selection_start() <= c.selection_end());
    // Selections count cells; what is copied is the bytes of whole characters.
    const std::string_view line = store.line(c.selection_line() + 1);
    const int32_t length = vozo::cell_count(line);
    if (!stale_selection) FUZZ_CHECK(c.selection_end() <= length);
    const int32_t shown =
        std::min(c.selection_end(), length) - std::min(c.selection_start(), length);
    const std::string copied = c.selection_text();
    FUZZ_CHECK(vozo::cell_count(copied) == shown);
    FUZZ_CHECK(line.find(copied) != std::string_view::npos);
  } else {
    FUZZ_CHECK(c.selection_text().empty());
  }
}

void drive_console(Bytes& in) {
  CheckingView view;
  ConsoleState c(view, 1 + in.byte() % 16, 1 + in.byte() % 32);
  c.resize(in.u16() % 2048, in.u16() % 2048);
  check_console(c, true);
  bool stale_selection = false;
  for (int step = 0; step < max_steps && !in.empty(); ++step) {
    switch (in.byte() % 16) {
      case 0:
      case 1:
        c.on_char(in.byte());
        break;
      case 2: {
        const auto key = static_cast<vozo::Key>(in.byte() % 11);
        if (key == vozo::Key::del && c.has_selection()) stale_selection = true;
        c.on_key(key);
        break;
      }
      case 3:
        c.append_output(in.text(in.byte()));
        break;
      case 4: {
        // Many bytes of one kind at once: the way to the store's capacities.
        const uint8_t size = in.byte();
        const int32_t count = size >= 0xf0 ? 1 + in.u16() * 8 : 1 + in.u16() % 2048;
        const char byte = static_cast<char>(in.byte());
        c.append_output(std::string(static_cast<size_t>(count), byte));
        break;
      }
      case 5: {
        const int32_t capacity = in.byte() - 8;
        const std::string last(c.store().line(c.store().line_count()));
        // The input start counts cells; the line read is bytes.
        const int32_t start = vozo::byte_of_cell(last, c.input_start());
        const std::string got = c.take_input_line(capacity);
        if (capacity < 2) {
          FUZZ_CHECK(got.empty());
          break;
        }
        FUZZ_CHECK(got.size() >= 2 && got.size() <= static_cast<size_t>(capacity));
        FUZZ_CHECK(got.compare(got.size() - 2, 2, "\r\n") == 0);
        const size_t body = got.size() - 2;
        if (body > 0) FUZZ_CHECK(last.compare(static_cast<size_t>(start), body, got, 0, body) == 0);
        FUZZ_CHECK(c.input_start() == 0);
        break;
      }
      case 6:
        c.on_vscroll(in.byte() % 10, static_cast<int16_t>(in.u16()));
        break;
      case 7:
        c.on_hscroll(in.byte() % 10, static_cast<int16_t>(in.u16()));
        break;
      case 8:
        c.mouse_press();
        break;
      case 9:
        c.mouse_move(static_cast<int16_t>(in.u16()), static_cast<int16_t>(in.u16()),
                     (in.byte() & 1) != 0);
        break;
      case 10:
        c.mouse_release();
        break;
      case 11:
        c.double_click(static_cast<int16_t>(in.u16()), static_cast<int16_t>(in.u16()));
        stale_selection = false;  // a new selection, made on the line as it now is
        break;
      case 12: {
        const bool had = c.has_selection();
        const int32_t line = c.selection_line() + 1;
        const size_t before = c.store().line(line).size();
        const size_t selected = c.selection_text().size();
        c.delete_selection();
        FUZZ_CHECK(!c.has_selection());
        if (had) FUZZ_CHECK(c.store().line(line).size() == before - selected);
        break;
      }
      case 13:
        if (in.byte() % 4 == 0) {
          c.clear();
          FUZZ_CHECK(c.store().line_count() == 0 && c.new_line_pending());
        } else {
          c.paste(in.text(in.u16() % 2048));
        }
        break;
      case 14:
        if (in.byte() & 1) {
          c.change_font(in.byte() % 40 - 2, in.byte() % 40 - 2, in.u16() % 4096 - 8,
                        in.u16() % 4096 - 8);
        } else {
          c.resize(in.u16() % 4096 - 8, in.u16() % 4096 - 8);
        }
        break;
      default: {
        const int32_t top = in.u16() % 4096;
        const vozo::LineRange r = c.repaint_lines(top, top + in.u16() % 4096);
        if (r.first <= r.last) FUZZ_CHECK(r.first >= 0 && r.last < c.store().line_count());
        c.finish_paint();
        break;
      }
    }
    if (!c.has_selection()) stale_selection = false;
    check_console(c, step % 32 == 31 || in.empty(), stale_selection);
  }
  check_console(c, true, stale_selection);
}

// The line store against a list of strings.
void drive_store(Bytes& in) {
  LineStore store;
  std::vector<std::string> model;
  int64_t total = 0;
  for (int step = 0; step < max_steps && !in.empty(); ++step) {
    const int32_t n = static_cast<int32_t>(model.size());
    switch (in.byte() % 6) {
      case 0: {
        const bool ok = store.open_line();
        FUZZ_CHECK(ok == (n < LineStore::line_capacity));
        if (ok) model.emplace_back();
        break;
      }
      case 1: {
        const int32_t column = static_cast<int16_t>(in.u16());
        const char c = static_cast<char>(in.byte());
        const bool ok = store.store(column, c);
        const int32_t length = n == 0 ? 0 : static_cast<int32_t>(model.back().size());
        const bool expected = n > 0 && column >= 0 && column <= length &&
                              (column < length || total < LineStore::text_capacity);
        FUZZ_CHECK(ok == expected);
        if (ok) {
          if (column == length) {
            model.back().push_back(c);
            ++total;
          } else {
            model.back()[static_cast<size_t>(column)] = c;
          }
        }
        break;
      }
      case 2: {
        const int32_t column = static_cast<int16_t>(in.u16());
        const bool ok = store.insert_blank(column);
        const int32_t length = n == 0 ? 0 : static_cast<int32_t>(model.back().size());
        const bool expected =
            n > 0 && column >= 0 && column <= length && total < LineStore::text_capacity;
        FUZZ_CHECK(ok == expected);
        if (ok) {
          model.back().insert(static_cast<size_t>(column), 1, ' ');
          ++total;
        }
        break;
      }
      case 3: {
        const int32_t k = static_cast<int16_t>(in.u16());
        const int32_t column = static_cast<int16_t>(in.u16());
        const int32_t count = in.i32();
        const int32_t removed = store.delete_chars(k, column, count);
        int32_t expected = 0;
        if (k >= 1 && k <= n && column >= 0 && count > 0) {
          const int32_t length = static_cast<int32_t>(model[static_cast<size_t>(k - 1)].size());
          if (column < length) expected = std::min(count, length - column);
        }
        FUZZ_CHECK(removed == expected);
        if (removed > 0) {
          model[static_cast<size_t>(k - 1)].erase(static_cast<size_t>(column),
                                                  static_cast<size_t>(removed));
          total -= removed;
        }
        break;
      }
      case 4: {
        // A run of stores at the end of the last line, or of new lines.
        const int32_t count = 1 + in.u16();
        const bool lines = (in.byte() & 1) != 0;
        for (int32_t j = 0; j < count; ++j) {
          if (lines) {
            if (!store.open_line()) break;
            model.emplace_back();
          } else {
            if (model.empty()) break;
            const int32_t length = static_cast<int32_t>(model.back().size());
            if (!store.store(length, 'x')) {
              FUZZ_CHECK(total == LineStore::text_capacity);
              break;
            }
            model.back().push_back('x');
            ++total;
          }
        }
        break;
      }
      default:
        if (in.byte() % 8 == 0) {
          store.clear();
          model.clear();
          total = 0;
        }
        break;
    }
    FUZZ_CHECK(store.line_count() == static_cast<int32_t>(model.size()));
    FUZZ_CHECK(store.text_size() == total);
    if (!model.empty()) {
      FUZZ_CHECK(store.line(store.line_count()) == model.back());
    }
  }
  check_store(store);
  for (size_t k = 0; k < model.size(); ++k) {
    FUZZ_CHECK(store.line(static_cast<int32_t>(k) + 1) == model[k]);
  }
}

// Program output, typing and input-line reads only, against a transcript kept by hand:
// a carriage return ends a line, a line feed shows as a blank (one final line feed of an
// output is dropped), a tab fills blanks to the next multiple of 8 cells, a backspace
// removes the last character (all its bytes), and a read returns what was typed after the
// last output, cut before the capacity without splitting a character.
class Transcript {
 public:
  void type(uint8_t code) {
    if (code == vozo::code_backspace) {
      if (!pending_ && !lines_.back().empty()) {
        std::string& last = lines_.back();
        last.erase(static_cast<size_t>(vozo::byte_of_cell(last, vozo::cell_count(last) - 1)));
      }
    } else if (code == vozo::code_tab) {
      do {
        put(' ');
      } while (vozo::cell_count(lines_.back()) % 8 != 0);
    } else if (code == vozo::code_return) {
      if (pending_) lines_.emplace_back();
      pending_ = true;
    } else {
      put(code == vozo::code_line_feed ? ' ' : static_cast<char>(code));
    }
  }
  void output(std::string_view bytes) {
    if (!bytes.empty() && bytes.back() == '\n') bytes.remove_suffix(1);
    for (char c : bytes) type(static_cast<uint8_t>(c));
    input_start_ = pending_ ? 0 : vozo::cell_count(lines_.back());
  }
  std::string take(int32_t capacity) {
    if (capacity < 2) return {};
    const std::string last = lines_.empty() ? std::string() : lines_.back();
    const int32_t from = vozo::byte_of_cell(last, input_start_);
    const int32_t to = vozo::boundary_before(last, capacity - 2);
    const std::string got =
        to > from ? last.substr(static_cast<size_t>(from), static_cast<size_t>(to - from)) : "";
    input_start_ = 0;
    return got + "\r\n";
  }
  const std::vector<std::string>& lines() const { return lines_; }

 private:
  void put(char c) {
    if (pending_) lines_.emplace_back();
    pending_ = false;
    lines_.back().push_back(c);
  }
  std::vector<std::string> lines_;
  bool pending_ = true;
  int32_t input_start_ = 0;  // in cells, as the console counts it
};

void drive_transcript(Bytes& in) {
  CheckingView view;
  ConsoleState c(view);
  c.resize(in.u16() % 1024, in.u16() % 1024);
  Transcript t;
  // Small enough that no capacity is reached.
  for (int step = 0; step < max_steps && !in.empty(); ++step) {
    switch (in.byte() % 3) {
      case 0: {
        const std::string_view bytes = in.text(in.byte() % 64);
        c.append_output(bytes);
        t.output(bytes);
        break;
      }
      case 1: {
        const uint8_t code = in.byte();
        c.on_char(code);
        t.type(code);
        break;
      }
      default: {
        const int32_t capacity = in.byte();
        FUZZ_CHECK(c.take_input_line(capacity) == t.take(capacity));
        break;
      }
    }
    FUZZ_CHECK(c.store().line_count() == static_cast<int32_t>(t.lines().size()));
    if (!t.lines().empty()) FUZZ_CHECK(c.store().line(c.store().line_count()) == t.lines().back());
  }
  for (size_t k = 0; k < t.lines().size(); ++k) {
    FUZZ_CHECK(c.store().line(static_cast<int32_t>(k) + 1) == t.lines()[k]);
  }
  check_console(c, true);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Bytes in(data, size);
  const uint8_t mode = in.byte();
  if (mode & 1) {
    drive_store(in);
  } else if (mode & 2) {
    drive_transcript(in);
  } else {
    drive_console(in);
  }
  return 0;
}
