// SPDX-License-Identifier: GPL-3.0-or-later
// Reports and console output as the tests read them: records without their CR LF ends.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace test_support {

// The records of `text`, without their CR LF ends. A trailing piece that is not a
// complete record is a last line with a "<no CR LF>" mark.
std::vector<std::string> records_of(std::string_view text);

// The whole of a file, bytes as they are; empty when it cannot be read.
std::string slurp(const std::string& path);

// The records of a file.
std::vector<std::string> read_records(const std::string& path);

}  // namespace test_support
