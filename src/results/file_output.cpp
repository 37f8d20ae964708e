// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/file_output.h"

#include <stdexcept>

#include "safe_file/safe_file.h"

namespace results {

void write_file(const std::filesystem::path& path, const std::string& text) {
  const safe_file::Outcome outcome = safe_file::write_file(path.string(), text);
  if (!outcome.ok()) throw std::runtime_error(safe_file::message(path.string(), outcome));
}

}  // namespace results
