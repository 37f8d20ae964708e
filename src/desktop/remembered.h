// SPDX-License-Identifier: GPL-3.0-or-later
// What the desktop program remembers between sessions, through a store of named text
// values (the Qt side keeps them in the user's settings file; tests keep them in a map):
// the last folder used, the recent runs, the CRSS and the export resolution.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace desktop {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual std::optional<std::string> value(std::string_view key) const = 0;
  virtual void set_value(std::string_view key, std::string_view value) = 0;
  virtual void remove(std::string_view key) = 0;
};

// A store in memory (tests, and a session whose settings cannot be kept).
class MemoryStore final : public SettingsStore {
 public:
  std::optional<std::string> value(std::string_view key) const override;
  void set_value(std::string_view key, std::string_view value) override;
  void remove(std::string_view key) override;
  const std::map<std::string, std::string, std::less<>>& values() const { return values_; }

 private:
  std::map<std::string, std::string, std::less<>> values_;
};

// The three files of one run, as the console dialogue names them.
struct RunFiles {
  std::string params;
  std::string data;
  std::string report;
  bool operator==(const RunFiles&) const = default;
};

// The recent runs, newest first, at most `limit`; and the last folder used. Changes are
// written to the store at once, so that a crash loses nothing already chosen.
class RunHistory {
 public:
  static constexpr int32_t limit = 8;

  explicit RunHistory(SettingsStore& store);

  const std::vector<RunFiles>& runs() const { return runs_; }
  // Puts the run first (once: an earlier entry with the same files goes) and takes the
  // parameter file's folder as the last folder. A run without a parameter file is not kept.
  void add_run(const RunFiles& run);

  // The folder of the last file chosen, with a closing slash; empty when none was.
  const std::string& last_folder() const { return last_folder_; }
  // Remembers the folder of a file path (a path ending in '/' is a folder).
  void remember_file(std::string_view path);

 private:
  void save() const;

  SettingsStore& store_;
  std::vector<RunFiles> runs_;
  std::string last_folder_;
};

// The CRSS (MPa) and the PNG resolution (dots per inch) kept in the store; a missing,
// unreadable or out-of-range value gives the default.
double stored_crss(const SettingsStore& store, double fallback);
void store_crss(SettingsStore& store, double crss);
int32_t stored_export_dpi(const SettingsStore& store, int32_t fallback);
void store_export_dpi(SettingsStore& store, int32_t dpi);

}  // namespace desktop
