// SPDX-License-Identifier: GPL-3.0-or-later
#include "vozo/console_document.h"

#include <utility>

namespace vozo {

void ConsoleDocument::set_file(std::string path, std::string title) {
  file_name_ = std::move(path);
  named_ = true;
  title_ = std::move(title);
}

std::string ConsoleDocument::default_title() const {
  return title_ == console_title ? std::string("Untitled") : title_;
}

}  // namespace vozo
