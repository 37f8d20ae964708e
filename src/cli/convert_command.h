// SPDX-License-Identifier: GPL-3.0-or-later
// gemino-term convert IN.csv OUT.txt: a plane table or an EBSD grain table to a data file.
#pragma once

namespace cli {

// argv[0] is "convert". Returns the process exit code: 0 when written, 1 when the table
// cannot be converted or a file cannot be read or written (nothing is written then), 64
// for a command line that cannot be followed.
int convert_command(int argc, char** argv);

}  // namespace cli
