// SPDX-License-Identifier: GPL-3.0-or-later
// A format such as "(T20,'SIGMA ',I1,F5.0)" parsed once into a flat list of edit
// descriptors. Formats are built once (as static constants) and shared by every
// statement that uses them; a record never re-parses its format.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace recfmt {

// Thrown by the Format constructor for a text that is not a well-formed format.
class FormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Format {
 public:
  // Parses the format text: outer parentheses included, statement label excluded.
  // Throws FormatError when the text is malformed.
  explicit Format(std::string_view text);

  std::string_view text() const { return text_; }

  // The parsed form is an implementation detail of the record layer (see format_nodes.h).
  struct Node;
  const std::vector<Node>& nodes() const { return nodes_; }
  int32_t reversion_start() const { return reversion_start_; }

 private:
  std::string text_;
  std::vector<Node> nodes_;
  int32_t reversion_start_ = 0;
};

}  // namespace recfmt

// Node must be complete wherever a Format is copied or destroyed.
#include "recfmt/format_nodes.h"  // IWYU pragma: export
