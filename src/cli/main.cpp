// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/main.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <thread>

#include "cli/batch.h"
#include "cli/convert_command.h"
#include "cli/extension.h"
#include "cli/merge_summaries.h"
#include "cli/single_run.h"
#include "cli/survey.h"
#include "gemino/version.h"

namespace cli {

namespace {

constexpr const char* description =
    "Finds the stress tensor recorded by calcite twin lamellae. With no argument the program "
    "asks for its files on the console; with PARAMS DATA REPORT the names answer the "
    "questions. The report is the same in both cases.";

// The message on one line: line ends and other control characters in it (a file name
// may hold them) are shown escaped, so that the name can be told from what was typed.
std::string one_line(const std::string& s) {
  std::string out;
  for (const char c : s) {
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02x",
                    static_cast<unsigned>(static_cast<unsigned char>(c)));
      out += buf;
    } else {
      out += c;
    }
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

// An option that names a file to write was given an empty name.
std::string empty_file_name(const CLI::App& app) {
  for (const CLI::Option* option : app.get_options()) {
    if (option->get_lnames().empty() || option->count() == 0) continue;
    if (option->get_type_name().rfind("FILE", 0) != 0 && option->get_option_text() != "FILE") {
      continue;
    }
    for (const std::string& name : option->results()) {
      if (name.empty()) return option->get_name() + " needs a file name, not an empty one";
    }
  }
  return {};
}

int usage_error(const std::string& message) {
  std::cerr << "gemino-term: " << one_line(message) << " (see gemino-term --help)\n";
  return exit_usage;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "convert") return convert_command(argc - 1, argv + 1);
  if (argc > 1 && std::string(argv[1]) == "merge-summaries") {
    return merge_summaries_main(argc - 1, argv + 1);
  }
  CLI::App app(description, "gemino-term");
  app.set_version_flag("--version", "gemino-term " + std::string(gemino::program_version));
  app.footer(
      "gemino-term convert IN.csv OUT.txt writes a data file from a plane table or an EBSD "
      "grain table (see gemino-term convert --help). gemino-term merge-summaries puts the "
      "summaries of a survey run in shares back together (see gemino-term merge-summaries "
      "--help).");
  Options options;
  app.add_option("files", options.files,
                 "PARAMS DATA REPORT: the parameter, data and report files, answering the "
                 "console's questions (the header pause is answered with Return)")
      ->expected(3)
      ->type_name("FILE");
  app.add_option("--crss", options.crss_mpa,
                 "Critical resolved shear stress of twinning, MPa (for the stress magnitudes)")
      ->check(CLI::Validator(
          [](std::string& value) {
            double v = 0.0;
            return CLI::detail::lexical_cast(value, v) && v > 0.0 && v < 1e30
                       ? std::string()
                       : "must be a positive number of MPa, not " + value;
          },
          "", "positive"))
      ->type_name("MPA")
      ->capture_default_str();
  CLI::Option* batch =
      app.add_option("--batch", options.batch,
                     "Run every SITE_DIR (holding params.txt and data.txt); each gets report.txt, "
                     "result.json, stereonet.svg and console.txt")
          ->type_name("SITE_DIR...")
          ->group("Batch");
  app.add_option("--jobs", options.jobs, "Runs at once (default: one per processor)")
      ->check(CLI::Range(1, 1024))
      ->type_name("N")
      ->group("Batch");
  app.add_option("--summary", options.summary,
                 "Write the batch summary (one CSV row per site) to FILE instead of the output")
      ->type_name("FILE")
      ->needs(batch)
      ->group("Batch");
  add_survey_options(app, options, batch);
  app.get_option("files")->excludes(batch);
  std::string search = gemino::search_mode_name(options.search);
  app.add_option("--search", search,
                 "The search the report gives: classic (the parameter file's, the default) or "
                 "converged (independent restarts until two agree on the best objective)")
      ->check(CLI::Validator(
          [](std::string& value) {
            return gemino::search_mode_named(value) ? std::string()
                                                    : "must be classic or converged, not " + value;
          },
          "classic|converged", "search mode"))
      ->type_name("MODE");

  const std::vector<std::unique_ptr<Extension>> extensions = make_extensions();
  for (const auto& extension : extensions) extension->add_options(app);

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    std::cout << app.help();
    return 0;
  } catch (const CLI::CallForAllHelp&) {
    std::cout << app.help("", CLI::AppFormatMode::All);
    return 0;
  } catch (const CLI::CallForVersion&) {
    std::cout << "gemino-term " << gemino::program_version << "\n"
              << gemino::copyright_line << "\n"
              << gemino::licence_notice;
    return 0;
  } catch (const CLI::ParseError& e) {
    return usage_error(e.what());
  }

  options.search = gemino::search_mode_named(search).value_or(gemino::SearchMode::classic);
  if (const std::string empty = empty_file_name(app); !empty.empty()) return usage_error(empty);
  if (options.batch.empty()) {
    for (const auto& extension : extensions) {
      const std::string conflict = extension->usage_conflict();
      if (!conflict.empty()) return usage_error(conflict);
    }
  }

  if (options.jobs == 0) {
    options.jobs = static_cast<int>(std::thread::hardware_concurrency());
    if (options.jobs < 1) options.jobs = 1;
  }
  if (!options.batch.empty()) {
    for (const auto& extension : extensions) {
      const std::string conflict = extension->batch_conflict();
      if (!conflict.empty()) return usage_error(conflict);
    }
    const std::string problem = batch_usage_problem(options, extensions);
    if (!problem.empty()) return usage_error(problem);
    return run_batch(options, extensions);
  }
  return run_single(options, extensions);
}

}  // namespace cli
