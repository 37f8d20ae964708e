// SPDX-License-Identifier: GPL-3.0-or-later
// One run of the terminal program as a user's shell would start it, in a scratch folder.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "gemino/io_files.h"

namespace cli_test {

struct Outcome {
  int exit_code = -1;
  std::string out;
  std::string err;
};

// Runs the program in `dir` with `args` (already quoted for the shell) and `input` on its
// standard input.
inline Outcome term(const gemino_test::ScratchDir& dir, const std::string& args,
                    const std::string& input = "") {
  std::ofstream(dir.file("stdin.txt"), std::ios::binary) << input;
  const std::string command = "cd '" + dir.file("") + "' && '" GEMINO_TERM_PATH "' " + args +
                              " < stdin.txt > stdout.txt 2> stderr.txt";
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, gemino_test::slurp(dir.file("stdout.txt")),
          gemino_test::slurp(dir.file("stderr.txt"))};
}

// A console without its clock line ("Running on: ... at: hh:mm:ss"): two runs a second
// apart differ there and nowhere else.
inline std::string timeless(const std::string& console) {
  std::string out;
  std::size_t at = 0;
  while (at < console.size()) {
    std::size_t end = console.find('\n', at);
    end = end == std::string::npos ? console.size() : end + 1;
    const std::string line = console.substr(at, end - at);
    if (line.find("Running on:") == std::string::npos) out += line;
    at = end;
  }
  return out;
}

// A site folder holding the bundled example's parameter and data files.
inline void copy_example(const std::string& folder) {
  std::filesystem::create_directories(folder);
  std::filesystem::copy_file(GEMINO_EXAMPLES "/params.txt", folder + "/params.txt");
  std::filesystem::copy_file(GEMINO_EXAMPLES "/data.txt", folder + "/data.txt");
}

// The bundled example's site in a scratch folder, its parameter file counting `percent` %
// of the twins (the example's own file counts 100).
struct ExampleSite {
  explicit ExampleSite(int percent = 100) {
    std::string params = gemino_test::slurp(GEMINO_EXAMPLES "/params.txt");
    const std::string line = "1 200 100 10 900 0 0";
    const std::size_t at = params.find(line);
    EXPECT_NE(at, std::string::npos);
    params.replace(at, line.size(), "1 200 " + std::to_string(percent) + " 10 900 0 0");
    std::ofstream(dir.file("params.txt"), std::ios::binary) << params;
    std::filesystem::copy_file(GEMINO_EXAMPLES "/data.txt", dir.file("data.txt"));
  }
  // The program's exit code on params.txt data.txt report.txt followed by `args`.
  int run(const std::string& args) const {
    return term(dir, "params.txt data.txt report.txt " + args).exit_code;
  }
  std::string report() const { return gemino_test::slurp(dir.file("report.txt")); }
  nlohmann::json json() const {
    return nlohmann::json::parse(gemino_test::slurp(dir.file("r.json")));
  }
  gemino_test::ScratchDir dir;
};

}  // namespace cli_test
