// SPDX-License-Identifier: GPL-3.0-or-later
// A program's formats listed once, as a table X(name, text), and these macros to declare
// them, define them and list them with their names, so that tests can iterate them all.
#pragma once

#include <span>
#include <string_view>

#include "recfmt/format.h"

namespace recfmt {

// A format of a program's table, under the name its code knows it by.
struct NamedFormat {
  std::string_view name;
  const Format& format;
};

}  // namespace recfmt

#define RECFMT_DECLARE_FORMAT(name, text) extern const ::recfmt::Format name;
#define RECFMT_DEFINE_FORMAT(name, text) const ::recfmt::Format name(text);
#define RECFMT_NAMED_FORMAT(name, text) ::recfmt::NamedFormat{#name, name},

// In a header, inside the table's namespace: the declarations and table().
#define RECFMT_DECLARE_FORMAT_TABLE(TABLE) \
  TABLE(RECFMT_DECLARE_FORMAT)             \
  std::span<const ::recfmt::NamedFormat> table();

// In one source file, inside the same namespace: the formats and the table of them all.
#define RECFMT_DEFINE_FORMAT_TABLE(TABLE)                                        \
  TABLE(RECFMT_DEFINE_FORMAT)                                                    \
  std::span<const ::recfmt::NamedFormat> table() {                               \
    static const ::recfmt::NamedFormat entries[] = {TABLE(RECFMT_NAMED_FORMAT)}; \
    return entries;                                                              \
  }
