// SPDX-License-Identifier: GPL-3.0-or-later
// Console units and verbosity switches shared by every routine of the general library.
#pragma once

#include <cstdint>

#include "recfmt/items.h"

namespace gral {

// Number of output verbosity levels: minimum, more and maximum output.
inline constexpr int32_t nlwito = 3;

// The shared block: ten 32-bit words in this order. Set by initsio, then only read.
struct Ciocom {
  int32_t iti;                    // standard input unit: replies to prompts
  int32_t ito;                    // standard output unit: banners, prompts, file messages
  int32_t itier;                  // error input unit: reply to an error or warning pause
  int32_t itoer;                  // error output unit: error and warning banners
  recfmt::Logical lop;            // plot file open
  recfmt::Logical locom;          // commands come from a command file
  recfmt::Logical lcrerr;         // error and warning tails wait for Return
  recfmt::Logical lwito[nlwito];  // minimum, more, maximum output
};

static_assert(sizeof(Ciocom) == 10 * sizeof(int32_t));

// The one block of the process.
Ciocom& ciocom();

// Sets the block to its defaults and reports them on the console.
void initsio();

}  // namespace gral
