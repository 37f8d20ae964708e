#include "cli/single_run.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <iostream>

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
recfmt::ConsoleHooks& console_before() {
  static recfmt::ConsoleHooks hooks;
  return hooks;
}

int32_t answered_read(char* buffer, int32_t capacity, int32_t unit_id) {
  if (answers().empty()) return console_before().console_read(buffer, capacity, unit_id);
  const std::string line = answers().front() + "\r\n";
  answers().pop_front();
  if (buffer == nullptr || capacity < 2) return 0;
  // A name too long for the record is cut, keeping the record end, as a typed one would be.
  const std::size_t room = static_cast<std::size_t>(capacity) - 2;
  const std::size_t n = std::min(line.size() - 2, room);
  std::copy_n(line.data(), n, buffer);
  buffer[n] = '\r';
  buffer[n + 1] = '\n';
  return static_cast<int32_t>(n + 2);
}

void answer_dialogue(const std::vector<std::string>& files) {
  answers().assign({""});
  for (const std::string& f : files) answers().push_back(f);
  console_before() = recfmt::console_hooks();
  recfmt::ConsoleHooks hooks = console_before();
  hooks.console_read = answered_read;
  recfmt::install_console_hooks(hooks);
}

}  // namespace

int run_single(const Options& options, const std::vector<std::unique_ptr<Extension>>& extensions) {
  for (const auto& extension : extensions) {
    for (const std::filesystem::path& path : extension->outputs()) {
      const std::filesystem::path folder = path.parent_path();
      std::error_code ec;
      if (!folder.empty() && !std::filesystem::is_directory(folder, ec)) {
        std::cerr << "gemino-term: cannot write " << path.string() << ": no folder "
                  << folder.string() << "\n";
        return exit_cant_create;
      }
      // An output of an earlier run must not pass for one of this run if this one fails.
      if (std::filesystem::is_regular_file(path, ec)) std::filesystem::remove(path, ec);
    }
  }
  if (!options.files.empty()) answer_dialogue(options.files);

  const int code = recfmt::run_program([] { gemino::run_driver(gemino::shared_state()); });
  const gemino::State& state = gemino::shared_state();
  if (code != 0 || !results::has_result(state)) return code;

  const results::Result result = results::build_result(state);
  const results::StressMagnitudes stress = results::stress_magnitudes(result, options.crss_mpa);
  Run run{options, state, result, stress, nlohmann::ordered_json::object(), {}, {}};
  for (const auto& extension : extensions) extension->prepare(run);
  int status = code;
  for (const auto& extension : extensions) {
    try {
      extension->write(run);
    } catch (const std::exception& e) {
      std::cerr << "gemino-term: " << e.what() << "\n";
      status = exit_cant_create;
    }
  }
  return status;
}

}  // namespace cli
