// SPDX-License-Identifier: GPL-3.0-or-later
// The facts the About box shows about the machine, read afresh at each opening.
#pragma once

#include <cstdint>
#include <string>

namespace vozo {

struct SystemFacts {
  uint64_t page_size = 0;
  uint64_t minimum_address = 0;  // lowest address a program may map
  uint64_t maximum_address = 0;  // highest address of a program's space
  uint32_t processor_type = 0;   // 8664 x86-64, 586 32-bit x86, 0 otherwise
  uint32_t processors = 0;
};
SystemFacts read_system_facts();

// The five value fields, in the box's order.
struct AboutFields {
  std::string page_size;
  std::string minimum_address;
  std::string maximum_address;
  std::string processor_type;
  std::string processors;
};
AboutFields about_fields(const SystemFacts& facts);

// "0x" and lowercase hexadecimal digits, at least 8 with leading zeros; a wider
// address keeps all its digits.
std::string address_text(uint64_t address);

inline constexpr const char* about_caption = "About VOZO";
inline constexpr const char* about_heading = "VOZO Application Framework";

}  // namespace vozo
