// SPDX-License-Identifier: GPL-3.0-or-later
// What initsio shows on the console with the default units and switches, line by line.
#pragma once

#include <string>
#include <vector>

namespace gral_test {

inline std::vector<std::string> initsio_default_report() {
  const std::string at43 = " " + std::string(43, '@');
  return {
      at43,
      " @ subroutine initsio    ",
      " @==========================================",
      " INITIALIZING INPUT/OUTPUT",
      " standard  input unit        =  5",
      " standard output unit        =  6",
      " error     input unit        =  5",
      " error    output unit        =  6",
      " minimum output enabled      :  T",
      " more    output enabled      :  T",
      " maximum output enabled      :  F",
      " command file open status    :  F",
      " plot    file open status    :  F",
      " pause after warning or error:  T",
      at43,
  };
}

}  // namespace gral_test
