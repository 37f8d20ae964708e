// SPDX-License-Identifier: GPL-3.0-or-later
#include "gral/hostname.h"

#include "recfmt/items.h"

namespace gral {

namespace {

#if defined(_WIN32)
#define GRAL_SYSTEM "Windows"
#elif defined(__linux__)
#define GRAL_SYSTEM "Linux"
#elif defined(__APPLE__)
#define GRAL_SYSTEM "Darwin"
#elif defined(__FreeBSD__)
#define GRAL_SYSTEM "FreeBSD"
#else
#define GRAL_SYSTEM "Unknown"
#endif

#if defined(__x86_64__) || defined(_M_X64)
#define GRAL_PROCESSOR "x86_64"
#elif defined(__i386__) || defined(_M_IX86)
#define GRAL_PROCESSOR "ix86"
#elif defined(__aarch64__) || defined(_M_ARM64)
#define GRAL_PROCESSOR "aarch64"
#elif defined(__arm__) || defined(_M_ARM)
#define GRAL_PROCESSOR "arm"
#else
#define GRAL_PROCESSOR "unknown"
#endif

constexpr std::string_view description = GRAL_SYSTEM "OS-" GRAL_PROCESSOR;

#undef GRAL_SYSTEM
#undef GRAL_PROCESSOR

}  // namespace

std::string_view system_description() {
  return description;
}

void hostname(std::span<char> hname) {
  recfmt::assign_text(hname, description);
}

}  // namespace gral
