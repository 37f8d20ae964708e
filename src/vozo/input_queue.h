// SPDX-License-Identifier: GPL-3.0-or-later
// Answers given before the program asked: lines typed while the computation computes,
// and the lines of a paste after its first. Each waits for the next read of its
// console, in order.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vozo {

// A paste cut at its line ends: CR LF, a lone CR and a lone LF each end one line. The
// text after the last line end, if any, is the last element with ended = false.
struct PastedLine {
  std::string text;
  bool ended = true;
};
std::vector<PastedLine> pasted_lines(std::string_view text);

class InputQueue {
 public:
  struct Entry {
    std::string text;
    // Already on the screen (typed ahead): handed over as it is. Otherwise (pasted) it
    // is typed into the console when its read comes, as the user would have.
    bool shown = false;
    // Ends with a line end: it answers the read. A pasted tail without one is only
    // typed, and the user completes it.
    bool ended = true;
  };
  void push(Entry entry) { entries_.push_back(std::move(entry)); }
  bool empty() const { return entries_.empty(); }
  Entry pop() {
    Entry e = std::move(entries_.front());
    entries_.pop_front();
    return e;
  }
  void clear() { entries_.clear(); }
  std::size_t size() const { return entries_.size(); }

 private:
  std::deque<Entry> entries_;
};

}  // namespace vozo
