// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/batch.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <optional>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "cli/batch_checks.h"
#include "cli/batch_signals.h"
#include "cli/same_file.h"
#include "cli/site_info.h"
#include "cli/survey.h"

namespace cli {

namespace {

namespace fs = std::filesystem;

std::string program_path() {
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : self.string();
}

std::string number_text(double v) {
  char buf[32];
  const auto end = std::to_chars(buf, buf + sizeof buf, v).ptr;
  return std::string(buf, end);
}

// Starts the run of one site: its folder is the working folder, the console goes to
// console.txt there and the dialogue reads nothing. Returns the process id, or -1.
pid_t start_site(const std::string& program, const fs::path& folder,
                 const std::vector<std::string>& args, const BatchSignals& signals) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid != 0) return pid;
  // In the child: only calls that are safe after fork.
  signals.in_site_run();
  if (::chdir(folder.c_str()) != 0) ::_exit(exit_no_input);
  // Never through a link, never waiting on a pipe, never into anything but a plain file:
  // the folder was looked at before, but may have changed since.
  const int console =
      ::open(site_console, O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
  struct stat st {};
  if (console < 0 || ::fstat(console, &st) != 0 || !S_ISREG(st.st_mode) ||
      ::ftruncate(console, 0) != 0) {
    ::_exit(exit_cant_create);
  }
  ::fcntl(console, F_SETFL, ::fcntl(console, F_GETFL) & ~O_NONBLOCK);
  const int nothing = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
  if (nothing < 0) ::_exit(exit_cant_create);
  ::dup2(nothing, STDIN_FILENO);
  ::dup2(console, STDOUT_FILENO);
  ::dup2(console, STDERR_FILENO);
  ::execv(program.c_str(), argv.data());
  ::_exit(127);
}

// A result of an earlier run must not pass for this run's: it goes before the run, but
// only when it is a plain file (never what a link points at).
void remove_earlier_result(const fs::path& folder) {
  const fs::path path = folder / site_json;
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(path.c_str());
}

std::vector<std::string> site_arguments(const Options& options,
                                        const std::vector<std::unique_ptr<Extension>>& extensions) {
  std::vector<std::string> args = {site_params,
                                   site_data,
                                   site_report,
                                   "--json",
                                   site_json,
                                   "--crss",
                                   number_text(options.crss_mpa)};
  if (options.search != gemino::SearchMode::classic) {
    args.push_back("--search");
    args.push_back(gemino::search_mode_name(options.search));
  }
  for (const auto& extension : extensions) extension->site_arguments(args);
  // The sites share the processors: each run alone uses one.
  args.push_back("--jobs");
  args.push_back("1");
  return args;
}

// The arguments of a site whose description gives its own CRSS.
std::vector<std::string> with_crss(std::vector<std::string> args, double crss_mpa) {
  for (std::size_t i = 0; i + 1 < args.size(); ++i) {
    if (args[i] == "--crss") args[i + 1] = number_text(crss_mpa);
  }
  return args;
}

// A message on one line, whatever the names in it hold.
std::string shown(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else {
      out += c;
    }
  }
  return out;
}

std::string csv_field(const std::string& s) {
  if (s.find_first_of(",\"\n\r") == std::string::npos) return s;
  std::string out = "\"";
  for (char c : s) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string read_text(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The text of a JSON value as the summary gives it: numbers as the result file wrote them,
// null as an empty field.
std::string field(const nlohmann::json& j, const nlohmann::json::json_pointer& at) {
  if (!j.contains(at)) return {};
  const nlohmann::json& v = j.at(at);
  if (v.is_null()) return {};
  if (v.is_string()) return csv_field(v.get<std::string>());
  return v.dump();
}

const char* const summary_columns[][2] = {
    {"planes", "/counts/planes"},
    {"twinned", "/counts/twinned"},
    {"untwinned", "/counts/untwinned"},
    {"counted", "/counts/counted"},
    {"untwinned_violating", "/counts/untwinned_violating"},
    {"sigma1_trend", "/result/sigma1/trend"},
    {"sigma1_plunge", "/result/sigma1/plunge"},
    {"sigma2_trend", "/result/sigma2/trend"},
    {"sigma2_plunge", "/result/sigma2/plunge"},
    {"sigma3_trend", "/result/sigma3/trend"},
    {"sigma3_plunge", "/result/sigma3/plunge"},
    {"R", "/result/R"},
    {"objective", "/result/objective"},
    {"threshold", "/result/threshold"},
    {"crss_mpa", "/stress/crss_mpa"},
    {"differential_mpa", "/stress/differential_mpa"},
    {"differential_low_mpa", "/stress/differential_range_mpa/0"},
    {"differential_high_mpa", "/stress/differential_range_mpa/1"},
    {"regime", "/stress/regime"},
    {"shmax_azimuth", "/stress/shmax_azimuth"},
    {"sigma1_cone95_deg", "/bootstrap/sigma1/cone95_deg"},
    {"sigma2_cone95_deg", "/bootstrap/sigma2/cone95_deg"},
    {"sigma3_cone95_deg", "/bootstrap/sigma3/cone95_deg"},
    {"shmax_horizontal_azimuth", "/stress/shmax_horizontal_azimuth"},
};

}  // namespace

SummaryColumns standard_summary_columns() {
  SummaryColumns columns;
  for (const auto& c : summary_columns) columns.emplace_back(c[0], c[1]);
  return columns;
}

std::string summary_header() {
  return summary_header({});
}

std::string summary_row(const std::string& site, int exit_code, const std::string& json_text) {
  return summary_row(site, exit_code, json_text, {});
}

std::string summary_header(const SummaryColumns& extra) {
  std::string out = "site,exit_code";
  for (const auto& c : summary_columns) out += std::string(",") + c[0];
  for (const auto& c : extra) out += "," + c.first;
  return out + "\n";
}

std::string summary_row(const std::string& site, int exit_code, const std::string& json_text,
                        const SummaryColumns& extra) {
  std::string out = csv_field(site) + "," + std::to_string(exit_code);
  nlohmann::json j;
  if (!json_text.empty()) j = nlohmann::json::parse(json_text, nullptr, false);
  if (j.is_discarded()) j = nlohmann::json();
  for (const auto& c : summary_columns) {
    out += ",";
    if (j.is_object()) out += field(j, nlohmann::json::json_pointer(c[1]));
  }
  for (const auto& c : extra) {
    out += ",";
    if (j.is_object()) out += field(j, nlohmann::json::json_pointer(c.second));
  }
  return out + "\n";
}

std::string batch_usage_problem(const Options& options,
                                const std::vector<std::unique_ptr<Extension>>& extensions) {
  const std::vector<std::string> files = site_files(site_arguments(options, extensions));
  std::string problem = batch_usage_problem(options.batch, options.summary, files);
  if (problem.empty() && !options.geojson.empty()) {
    if (!options.summary.empty() && same_file(options.summary, options.geojson)) {
      return "--geojson " + options.geojson + " is the summary's file too";
    }
    problem = batch_usage_problem(options.batch, options.geojson, files, "--geojson");
  }
  return problem;
}

int run_batch(const Options& options, const std::vector<std::unique_ptr<Extension>>& extensions) {
  const std::pair<const std::string*, const char*> targets[] = {
      {&options.summary, "the summary"}, {&options.geojson, "the GeoJSON summary"}};
  for (const auto& [target, what] : targets) {
    if (target->empty()) continue;
    const std::string problem = summary_target_problem(*target, what);
    if (!problem.empty()) {
      std::cerr << "gemino-term: " << shown(problem) << "\n";
      return exit_cant_create;
    }
  }
  const std::string program = program_path();
  const std::vector<std::string> args = site_arguments(options, extensions);
  const std::vector<std::string> files = site_files(args);

  const std::vector<std::string> sites =
      shard_sites(options.batch, Shard{options.shard_index, options.shard_count});
  const std::size_t count = sites.size();
  std::vector<int> codes(count, -1);
  std::vector<std::optional<SiteInfo>> infos(count);
  std::map<pid_t, std::size_t> running;
  const bool progress = ::isatty(STDERR_FILENO) != 0;
  std::size_t next = 0;
  std::size_t done = 0;
  std::size_t failed = 0;
  const std::size_t jobs = static_cast<std::size_t>(options.jobs > 0 ? options.jobs : 1);

  auto finish = [&](std::size_t site, int code) {
    codes[site] = code;
    ++done;
    if (code != 0) ++failed;
    if (progress) {
      std::fprintf(stderr, "\rgemino-term: %zu of %zu sites done, %zu failed", done, count, failed);
      std::fflush(stderr);
    }
  };

  {
    const BatchSignals signals;
    int forwarded = 0;
    while (done < count) {
      while (signals.ending() == 0 && next < count && running.size() < jobs) {
        const std::size_t site = next++;
        const fs::path folder = sites[site];
        SiteCheck check = check_site(folder, files);
        if (check.code == 0) {
          SiteRead read = read_site_info(folder);
          if (!read.problem.empty()) check = {exit_bad_site, read.problem};
          infos[site] = std::move(read.info);
        }
        if (check.code != 0) {
          if (!check.reason.empty()) {
            std::fprintf(stderr, "%sgemino-term: %s: site not run\n", progress ? "\n" : "",
                         shown(check.reason).c_str());
          }
          finish(site, check.code);
          continue;
        }
        remove_earlier_result(folder);
        const bool own_crss = infos[site] && infos[site]->crss_mpa;
        const pid_t pid =
            program.empty()
                ? -1
                : start_site(program, folder,
                             own_crss ? with_crss(args, *infos[site]->crss_mpa) : args, signals);
        if (pid < 0) {
          finish(site, exit_cant_create);
          continue;
        }
        running[pid] = site;
      }
      // Every run that has ended, without waiting.
      for (;;) {
        int status = 0;
        const pid_t pid = ::waitpid(-1, &status, WNOHANG);
        if (pid == 0 || (pid < 0 && errno == ECHILD && running.empty())) break;
        if (pid < 0) {
          if (errno == EINTR) continue;
          const int error = errno;
          for (const auto& [child, site] : running) ::kill(child, SIGTERM);
          std::fprintf(stderr, "%sgemino-term: cannot wait for the site runs: %s\n",
                       progress ? "\n" : "", std::strerror(error));
          return exit_os_error;
        }
        const auto it = running.find(pid);
        if (it == running.end()) continue;
        finish(it->second, WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
        running.erase(it);
      }
      const int ending = signals.ending();
      if (ending != 0) {
        if (signals.ending_count() != forwarded) {
          forwarded = signals.ending_count();
          for (const auto& [child, site] : running) ::kill(child, ending);
        }
        if (running.empty()) {
          if (progress) std::fprintf(stderr, "\n");
          signals.end_with(ending);
        }
      }
      if (!running.empty()) signals.wait();
    }
  }
  if (progress) std::fprintf(stderr, "\n");

  SummaryColumns extra;
  for (const auto& extension : extensions) {
    for (auto& column : extension->summary_columns()) extra.push_back(column);
  }
  std::string summary = summary_header(extra);
  std::vector<MappedSite> mapped;
  for (std::size_t site = 0; site < count; ++site) {
    std::string json =
        codes[site] == 0 ? read_text(fs::path(sites[site]) / site_json) : std::string();
    summary += summary_row(sites[site], codes[site], json, extra);
    if (!options.geojson.empty()) {
      mapped.push_back({sites[site], codes[site], infos[site], std::move(json)});
    }
  }
  if (options.summary.empty()) {
    std::cout << summary << std::flush;
    if (!std::cout) {
      std::cerr << "gemino-term: cannot write the summary to the standard output\n";
      return exit_cant_create;
    }
  } else {
    try {
      const std::string problem = summary_target_problem(options.summary);
      if (!problem.empty()) throw std::runtime_error(problem);
      write_file(options.summary, summary);
    } catch (const std::exception& e) {
      std::cerr << "gemino-term: " << shown(e.what()) << "\n";
      return exit_cant_create;
    }
  }
  if (!options.geojson.empty()) {
    try {
      const std::string problem = summary_target_problem(options.geojson, "the GeoJSON summary");
      if (!problem.empty()) throw std::runtime_error(problem);
      write_file(options.geojson, geojson_text(mapped, extra));
    } catch (const std::exception& e) {
      std::cerr << "gemino-term: " << shown(e.what()) << "\n";
      return exit_cant_create;
    }
  }
  return failed == 0 ? 0 : 1;
}

}  // namespace cli
