#include "cli/single_run.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <iostream>
#include <optional>

#include "gemino/driver.h"
#include "recfmt/hooks.h"
#include "recfmt/stop.h"
#include "results/result_model.h"

namespace cli {

namespace {

// The answers the command line gives the dialogue before the console is read: Return for
// the header pause, then the names of the parameter, data and report files. A name that
// does not open is asked again on the console, as in the dialogue.
std::deque<std::string>& answers() {
  static std::deque<std::string> lines;
  return lines;
}
// Every answer the run was given, scripted or typed: the files it named are among them.
std::vector<std::string>& given() {
  static std::vector<std::string> lines;
  return lines;
}
recfmt::ConsoleHooks& console_before() {
  static recfmt::ConsoleHooks hooks;
  return hooks;
}

int32_t answered_read(char* buffer, int32_t capacity, int32_t unit_id) {
  int32_t n = 0;
  if (answers().empty()) {
    n = console_before().console_read(buffer, capacity, unit_id);
  } else {
    const std::string line = answers().front();
    answers().pop_front();
    if (buffer == nullptr || capacity < 2) return 0;
    // A name too long for the record is cut, keeping the record end, as a typed one would be.
    const std::size_t room = static_cast<std::size_t>(capacity) - 2;
    const std::size_t length = std::min(line.size(), room);
    std::copy_n(line.data(), length, buffer);
    buffer[length] = '\r';
    buffer[length + 1] = '\n';
    n = static_cast<int32_t>(length + 2);
  }
  if (n > 0 && buffer != nullptr && given().size() < 1000) {
    std::string line(buffer, static_cast<std::size_t>(n));
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    const std::size_t first = line.find_first_not_of(' ');
    const std::size_t last = line.find_last_not_of(' ');
    if (first != std::string::npos) given().push_back(line.substr(first, last - first + 1));
  }
  return n;
}

void answer_dialogue(const std::vector<std::string>& files) {
  answers().clear();
  if (!files.empty()) answers().push_back("");
  for (const std::string& f : files) answers().push_back(f);
  given().clear();
  console_before() = recfmt::console_hooks();
  recfmt::ConsoleHooks hooks = console_before();
  hooks.console_read = answered_read;
  recfmt::install_console_hooks(hooks);
}

bool same_file(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code ea, eb;
  if (std::filesystem::equivalent(a, b, ea)) return true;
  const std::filesystem::path ca = std::filesystem::weakly_canonical(a, ea);
  const std::filesystem::path cb = std::filesystem::weakly_canonical(b, eb);
  if (ea || eb) return a.lexically_normal() == b.lexically_normal();
  return ca == cb;
}

// The output of an extension that is also a file the run was given, if any.
const std::filesystem::path* named_by_run(const std::vector<std::filesystem::path>& outputs) {
  for (const std::filesystem::path& path : outputs) {
    for (const std::string& name : given()) {
      if (same_file(path, name)) return &path;
    }
  }
  return nullptr;
}

}  // namespace

int run_single(const Options& options, const std::vector<std::unique_ptr<Extension>>& extensions) {
  // An output named like an input or the report, or like another output, would destroy it.
  std::vector<std::filesystem::path> named(options.files.begin(), options.files.end());
  for (const auto& extension : extensions) {
    for (const std::filesystem::path& path : extension->outputs()) {
      for (const std::filesystem::path& other : named) {
        if (!same_file(path, other)) continue;
        std::cerr << "gemino-term: " << path.string() << " is named twice on the command line"
                  << " (see gemino-term --help)\n";
        return exit_usage;
      }
      named.push_back(path);
    }
  }
  for (const auto& extension : extensions) {
    for (const std::filesystem::path& path : extension->outputs()) {
      const std::filesystem::path folder = path.parent_path();
      std::error_code ec;
      if (!folder.empty() && !std::filesystem::is_directory(folder, ec)) {
        std::cerr << "gemino-term: cannot write " << path.string() << ": no folder "
                  << folder.string() << "\n";
        return exit_cant_create;
      }
    }
  }
  answer_dialogue(options.files);

  const int code = recfmt::run_program([] { gemino::run_driver(gemino::shared_state()); });
  const gemino::State& state = gemino::shared_state();
  bool sound = code == 0 && results::has_result(state);
  int status = code;
  std::optional<results::Result> result;
  std::optional<results::StressMagnitudes> stress;
  std::optional<Run> run;
  if (sound) {
    result = results::build_result(state);
    stress = results::stress_magnitudes(*result, options.crss_mpa);
    run.emplace(Run{options, state, *result, *stress, nlohmann::ordered_json::object(), {}});
    try {
      for (const auto& extension : extensions) extension->prepare(*run);
    } catch (const std::exception& e) {
      // Outputs that could not all be prepared are not written: none passes for the run's.
      std::cerr << "gemino-term: the run's outputs could not be prepared: " << e.what() << "\n";
      status = exit_cant_create;
      sound = false;
    }
  }
  for (const auto& extension : extensions) {
    const std::vector<std::filesystem::path> outputs = extension->outputs();
    // A file the dialogue named (typed there) is never written over nor removed.
    if (const std::filesystem::path* clash = named_by_run(outputs)) {
      std::cerr << "gemino-term: " << clash->string()
                << " is a file of the run: its outputs are not written\n";
      status = status == 0 ? exit_cant_create : status;
      continue;
    }
    if (!sound) {
      // An output of an earlier run must not pass for one of this run.
      std::error_code ec;
      for (const std::filesystem::path& path : outputs) {
        if (std::filesystem::is_regular_file(path, ec)) std::filesystem::remove(path, ec);
      }
      continue;
    }
    try {
      extension->write(*run);
    } catch (const std::exception& e) {
      std::cerr << "gemino-term: " << e.what() << "\n";
      status = exit_cant_create;
    }
  }
  return status;
}

}  // namespace cli
