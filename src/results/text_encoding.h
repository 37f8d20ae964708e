// SPDX-License-Identifier: GPL-3.0-or-later
// Text copied from a user's files into the outputs beside the report (titles and text
// lines in JSON, figures and the desktop's windows). The files may be UTF-8 or Latin-1
// (French files often are) and may hold any byte: what comes out is always UTF-8 that
// strict JSON readers and XML parsers accept.
#pragma once

#include <string>
#include <string_view>

namespace results {

// The text as UTF-8. Text that is valid UTF-8 keeps its characters; any other text is
// read byte for byte as Latin-1. When the text fills a record of fixed width (`full`), a
// character the record's end cuts is left out rather than misread. A tab becomes a blank;
// other control characters (C0, DEL, C1) and the characters XML cannot hold are dropped.
std::string output_text(std::string_view bytes, bool full = false);

}  // namespace results
