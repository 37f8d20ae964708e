// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/single_run.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <iostream>
#include <optional>

#include "cli/run_files.h"
#include "gemino/driver.h"
#include "recfmt/hooks.h"
#include "recfmt/stop.h"
#include "results/result_model.h"

namespace cli {

namespace {

// The dialogue of one run: the answers the command line gives it before the console is
// read (Return for the header pause, then the names of the parameter, data and report
// files; a name that does not open is asked again on the console), and every file name
// the run was given, scripted or typed: the files it opened are among them.
struct Dialogue {
  std::deque<std::string> answers;
  std::vector<std::string> given;
  recfmt::ConsoleHooks before;
};

// The console hooks are plain functions: they reach the dialogue of the run in progress.
Dialogue*& current_dialogue() {
  static Dialogue* dialogue = nullptr;
  return dialogue;
}

int32_t answered_read(char* buffer, int32_t capacity, int32_t unit_id) {
  Dialogue& d = *current_dialogue();
  int32_t n = 0;
  if (d.answers.empty()) {
    n = d.before.console_read(buffer, capacity, unit_id);
  } else {
    const std::string line = d.answers.front();
    d.answers.pop_front();
    if (buffer == nullptr || capacity < 2) return 0;
    // A name too long for the record is cut, keeping the record end, as a typed one would be.
    const std::size_t room = static_cast<std::size_t>(capacity) - 2;
    const std::size_t length = std::min(line.size(), room);
    std::copy_n(line.data(), length, buffer);
    buffer[length] = '\r';
    buffer[length + 1] = '\n';
    n = static_cast<int32_t>(length + 2);
  }
  if (n > 0 && buffer != nullptr) {
    const std::optional<std::string> name =
        console_file_name(std::string_view(buffer, static_cast<std::size_t>(n)));
    if (name) d.given.push_back(*name);
  }
  return n;
}

// Answers the dialogue of `d` until the returned object goes, which puts the console back.
class DialogueScope {
 public:
  DialogueScope(Dialogue& d, const std::vector<std::string>& files) {
    if (!files.empty()) d.answers.push_back("");
    for (const std::string& f : files) d.answers.push_back(f);
    d.before = recfmt::console_hooks();
    current_dialogue() = &d;
    recfmt::ConsoleHooks hooks = d.before;
    hooks.console_read = answered_read;
    recfmt::install_console_hooks(hooks);
    before_ = d.before;
  }
  ~DialogueScope() {
    recfmt::install_console_hooks(before_);
    current_dialogue() = nullptr;
  }
  DialogueScope(const DialogueScope&) = delete;
  DialogueScope& operator=(const DialogueScope&) = delete;

 private:
  recfmt::ConsoleHooks before_;
};

// The output of an extension that is also a file the run was given, if any.
const std::filesystem::path* named_by_run(const std::vector<std::filesystem::path>& outputs,
                                          const std::vector<std::string>& given) {
  for (const std::filesystem::path& path : outputs) {
    for (const std::string& name : given) {
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
  std::vector<std::filesystem::path> all_outputs;
  for (const auto& extension : extensions) {
    for (const std::filesystem::path& path : extension->outputs()) all_outputs.push_back(path);
  }
  // From here on an interrupted or failed run leaves no earlier run's outputs.
  if (const std::string why = clear_earlier_outputs(all_outputs); !why.empty()) {
    std::cerr << "gemino-term: " << why << "\n";
    return exit_cant_create;
  }

  Dialogue dialogue;
  int code = 0;
  // A converged run reports the converged answer; what chose it stays for the outputs.
  std::optional<gemino::ReportSearch> chosen;
  gemino::ChooseSearch choose;
  if (options.search == gemino::SearchMode::converged) {
    chosen.emplace();
    choose = gemino::converged_choice(gemino::ConvergedOptions(), 0, &*chosen);
    for (const auto& extension : extensions) {
      if (gemino::ChooseSearch own = extension->converged_search(options, &*chosen)) {
        choose = std::move(own);
      }
    }
  }
  {
    const DialogueScope scope(dialogue, options.files);
    code = recfmt::run_program([&choose] { gemino::run_driver(gemino::shared_state(), choose); });
  }
  const gemino::State& state = gemino::shared_state();
  bool sound = code == 0 && results::has_result(state);
  int status = code;
  std::optional<results::Result> result;
  std::optional<results::StressMagnitudes> stress;
  std::optional<Run> run;
  if (sound) {
    result = results::build_result(state);
    stress = results::stress_magnitudes(*result, options.crss_mpa);
    run.emplace(Run{options,
                    state,
                    *result,
                    *stress,
                    nlohmann::ordered_json::object(),
                    {},
                    false,
                    nullptr,
                    {},
                    {}});
    run->outputs_asked = !all_outputs.empty();
    if (chosen) run->report_search = &*chosen;
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
    if (const std::filesystem::path* clash = named_by_run(outputs, dialogue.given)) {
      std::cerr << "gemino-term: " << clash->string()
                << " is a file of the run: its outputs are not written\n";
      status = status == 0 ? exit_cant_create : status;
      continue;
    }
    // The earlier run's outputs went before this run started.
    if (!sound) continue;
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
