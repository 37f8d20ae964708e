// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the driver inside the test process on a parameter and a data file, its console
// answered from memory, so that a test can watch the run or read the state it leaves.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "gemino/driver.h"
#include "gemino/io_files.h"
#include "gemino/state.h"
#include "recfmt/stop.h"
#include "support/fake_console.h"

namespace gemino_test {

// The exit code of the run. The files are copied into `dir` and the run works there,
// since the console answers hold 30 characters at most; the report is report.txt.
inline int32_t run_driver_in_process(const ScratchDir& dir, const std::string& params,
                                     const std::string& data) {
  std::filesystem::copy_file(params, dir.file("params.txt"));
  std::filesystem::copy_file(data, dir.file("data.txt"));
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(dir.file(""));
  int32_t code;
  {
    test_support::FakeConsole console({"", "params.txt", "data.txt", "report.txt"});
    code = recfmt::run_program([] { gemino::run_driver(gemino::shared_state()); });
  }
  std::filesystem::current_path(before);
  return code;
}

}  // namespace gemino_test
