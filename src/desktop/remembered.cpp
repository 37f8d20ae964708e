// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/remembered.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "figures/cairo_render.h"

namespace desktop {

namespace {

constexpr std::string_view folder_key = "files/last_folder";
constexpr std::string_view count_key = "runs/count";
constexpr std::string_view crss_key = "results/crss_mpa";
constexpr std::string_view dpi_key = "figures/export_dpi";

// A CRSS past this is a typing slip: twinning in calcite needs about 10 MPa.
constexpr double largest_crss = 1000.0;

std::string run_key(int32_t index, std::string_view field) {
  return "runs/" + std::to_string(index + 1) + "/" + std::string(field);
}

std::optional<int32_t> whole_number(const std::optional<std::string>& text) {
  if (!text) return std::nullopt;
  int32_t n = 0;
  const char* end = text->data() + text->size();
  const auto [ptr, ec] = std::from_chars(text->data(), end, n);
  if (ec != std::errc() || ptr != end) return std::nullopt;
  return n;
}

}  // namespace

std::optional<std::string> MemoryStore::value(std::string_view key) const {
  const auto it = values_.find(key);
  if (it == values_.end()) return std::nullopt;
  return it->second;
}
void MemoryStore::set_value(std::string_view key, std::string_view value) {
  values_.insert_or_assign(std::string(key), std::string(value));
}
void MemoryStore::remove(std::string_view key) {
  const auto it = values_.find(key);
  if (it != values_.end()) values_.erase(it);
}

RunHistory::RunHistory(SettingsStore& store) : store_(store) {
  last_folder_ = store_.value(folder_key).value_or("");
  const int32_t count = std::clamp(whole_number(store_.value(count_key)).value_or(0), 0, limit);
  for (int32_t i = 0; i < count; ++i) {
    RunFiles run{store_.value(run_key(i, "params")).value_or(""),
                 store_.value(run_key(i, "data")).value_or(""),
                 store_.value(run_key(i, "report")).value_or("")};
    // An entry half written by another program version is left out, not half used.
    if (run.params.empty() || run.data.empty() || run.report.empty()) continue;
    if (std::find(runs_.begin(), runs_.end(), run) == runs_.end()) runs_.push_back(run);
  }
}

void RunHistory::add_run(const RunFiles& run) {
  if (run.params.empty()) return;
  std::erase(runs_, run);
  runs_.insert(runs_.begin(), run);
  if (runs_.size() > static_cast<std::size_t>(limit)) runs_.resize(limit);
  remember_file(run.params);
  save();
}

void RunHistory::remember_file(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  // A bare name is in the working folder, which is not a folder to remember.
  if (slash == std::string_view::npos) return;
  last_folder_ = std::string(path.substr(0, slash + 1));
  store_.set_value(folder_key, last_folder_);
}

void RunHistory::save() const {
  const auto count = static_cast<int32_t>(runs_.size());
  // Entries past the new count would be read back by an older count: they go.
  const int32_t before = std::clamp(whole_number(store_.value(count_key)).value_or(0), 0, limit);
  for (int32_t i = count; i < before; ++i) {
    for (const char* field : {"params", "data", "report"}) store_.remove(run_key(i, field));
  }
  for (int32_t i = 0; i < count; ++i) {
    store_.set_value(run_key(i, "params"), runs_[static_cast<std::size_t>(i)].params);
    store_.set_value(run_key(i, "data"), runs_[static_cast<std::size_t>(i)].data);
    store_.set_value(run_key(i, "report"), runs_[static_cast<std::size_t>(i)].report);
  }
  store_.set_value(count_key, std::to_string(count));
}

double stored_crss(const SettingsStore& store, double fallback) {
  const std::optional<std::string> text = store.value(crss_key);
  if (!text) return fallback;
  double v = 0.0;
  const char* end = text->data() + text->size();
  const auto [ptr, ec] = std::from_chars(text->data(), end, v);
  if (ec != std::errc() || ptr != end || !std::isfinite(v) || v <= 0.0 || v > largest_crss) {
    return fallback;
  }
  return v;
}

void store_crss(SettingsStore& store, double crss) {
  if (!std::isfinite(crss) || crss <= 0.0 || crss > largest_crss) return;
  char text[32];
  std::snprintf(text, sizeof text, "%.17g", crss);
  store.set_value(crss_key, text);
}

int32_t stored_export_dpi(const SettingsStore& store, int32_t fallback) {
  const std::optional<int32_t> dpi = whole_number(store.value(dpi_key));
  if (!dpi || *dpi < figures::min_dpi || *dpi > figures::max_dpi) return fallback;
  return *dpi;
}

void store_export_dpi(SettingsStore& store, int32_t dpi) {
  if (dpi < figures::min_dpi || dpi > figures::max_dpi) return;
  store.set_value(dpi_key, std::to_string(dpi));
}

}  // namespace desktop
