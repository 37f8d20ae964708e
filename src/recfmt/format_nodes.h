// SPDX-License-Identifier: GPL-3.0-or-later
// The parsed form of a format: a flat list of edit descriptors with every repeat count
// already unrolled, so a statement only walks an index forward (and back to the
// reversion start when its list outlives the format).
#pragma once

#include <cstdint>
#include <string>

#include "recfmt/format.h"

namespace recfmt {

struct Format::Node {
  enum class Kind : uint8_t {
    Integer,   // Iw
    Fixed,     // Fw.d
    Exponent,  // Ew.d
    Alpha,     // A or Aw (width -1 when absent)
    Logical,   // Lw
    Skip,      // nX, TRn: n columns to the right
    Tab,       // Tn: to column n (counted from 1)
    TabLeft,   // TLn: n columns to the left, never before column 1
    Slash,     // ends the record
    Literal,   // 'text'
  };

  Kind kind;
  int32_t width = 0;     // w, or n for positioning
  int32_t decimals = 0;  // d
  std::string text;      // Literal only

  bool is_data() const { return kind <= Kind::Logical; }
};

}  // namespace recfmt
