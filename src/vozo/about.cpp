// SPDX-License-Identifier: GPL-3.0-or-later
#include "vozo/about.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>

namespace vozo {

std::string address_text(uint64_t address) {
  char digits[32];
  std::snprintf(digits, sizeof digits, "0x%08llx", static_cast<unsigned long long>(address));
  return digits;
}

AboutFields about_fields(const SystemFacts& facts) {
  AboutFields fields;
  fields.page_size = std::to_string(facts.page_size);
  fields.minimum_address = address_text(facts.minimum_address);
  fields.maximum_address = address_text(facts.maximum_address);
  fields.processor_type = std::to_string(facts.processor_type);
  fields.processors = std::to_string(facts.processors);
  return fields;
}

SystemFacts read_system_facts() {
  SystemFacts facts;
  const long page = ::sysconf(_SC_PAGESIZE);
  facts.page_size = page > 0 ? static_cast<uint64_t>(page) : 4096;
  // Below this the kernel maps nothing for a program; 64 KiB is its usual value.
  facts.minimum_address = 65536;
  std::ifstream min_addr("/proc/sys/vm/mmap_min_addr");
  uint64_t value = 0;
  if (min_addr >> value && value > 0) facts.minimum_address = value;
    // The top of a program's space, just below the kernel's guard page.
#if defined(__x86_64__)
  facts.maximum_address = (uint64_t{1} << 47) - facts.page_size - 1;
  facts.processor_type = 8664;
#elif defined(__i386__)
  facts.maximum_address = 0xBFFFFFFFu;
  facts.processor_type = 586;
#elif defined(__aarch64__)
  facts.maximum_address = (uint64_t{1} << 48) - 1;
  facts.processor_type = 0;
#else
  facts.maximum_address = static_cast<uint64_t>(UINTPTR_MAX) >> 1;
  facts.processor_type = 0;
#endif
  const long online = ::sysconf(_SC_NPROCESSORS_ONLN);
  facts.processors = online > 0 ? static_cast<uint32_t>(online) : 1;
  return facts;
}

}  // namespace vozo
