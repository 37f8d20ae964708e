// SPDX-License-Identifier: GPL-3.0-or-later
// The messages of the run-time error report (its second line).
#pragma once

#include <string_view>

namespace recfmt::detail {

inline constexpr std::string_view not_connected = "Unit is not connected to a file";
inline constexpr std::string_view type_mismatch =
    "Edit descriptor does not match the type of the item";
inline constexpr std::string_view no_data =
    "Format has no data edit descriptor for the remaining items";
inline constexpr std::string_view write_failed = "Error writing the record";
inline constexpr std::string_view read_failed = "Error reading the record";
inline constexpr std::string_view internal_overflow = "Output overflows the character variable";
inline constexpr std::string_view past_end = "Attempt to read past end of file";
inline constexpr std::string_view record_too_long = "Input record too long";

}  // namespace recfmt::detail
