// SPDX-License-Identifier: GPL-3.0-or-later
// The letters a console shows for the bytes of its text: UTF-8 characters, and bytes
// that begin none as their Latin-1 letters, one cell each.
#pragma once

#include <QString>
#include <string_view>

namespace vozo_qt {

QString shown_text(std::string_view bytes);

}  // namespace vozo_qt
