// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/merge_summaries.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <optional>

#include <CLI/CLI.hpp>

#include "cli/extension.h"
#include "cli/merge_maps.h"
#include "cli/same_file.h"
#include "cli/subcommand.h"

namespace cli {

namespace {

// Parts that do not make one summary.
constexpr int exit_not_merged = 65;

// One CSV record: where it starts, its text with its line end, its first field unquoted
// and its number of fields.
struct Record {
  int32_t line = 0;
  std::string text;
  std::string first;
  std::size_t fields = 0;
};

// Splits the text into records; a quoted field may hold commas, quotes ("") and line ends.
// A last record without a line end gets one. Empty when a quote is left open.
std::optional<std::vector<Record>> records_of(const std::string& text) {
  std::vector<Record> records;
  Record r;
  r.line = 1;
  r.fields = 1;
  int32_t line = 1;
  bool quoted = false;
  bool in_first = true;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    r.text += c;
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        r.text += '"';
        if (in_first) r.first += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else if (in_first) {
        r.first += c;
      }
      if (c == '\n') ++line;
      continue;
    }
    if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      ++r.fields;
      in_first = false;
    } else if (c == '\n') {
      ++line;
      records.push_back(std::move(r));
      r = Record{};
      r.line = line;
      r.fields = 1;
      in_first = true;
    } else if (in_first) {
      r.first += c;
    }
  }
  if (quoted) return std::nullopt;
  if (!r.text.empty()) {
    r.text += '\n';
    records.push_back(std::move(r));
  }
  return records;
}

struct Found {
  const SummaryPart* part = nullptr;
  const Record* record = nullptr;
};

std::string place(const Found& f) {
  return f.part->name + " line " + std::to_string(f.record->line);
}

}  // namespace

Merged merge_summaries(const std::vector<std::string>& sites,
                       const std::vector<SummaryPart>& parts) {
  if (sites.empty()) return {{}, "the list of sites is empty"};
  if (parts.empty()) return {{}, "no summary to merge"};
  std::map<std::string, std::size_t> position;
  for (std::size_t i = 0; i < sites.size(); ++i) {
    if (!position.emplace(sites[i], i).second) {
      return {{}, "the list names the site " + sites[i] + " twice"};
    }
  }
  std::vector<std::vector<Record>> split;
  for (const SummaryPart& part : parts) {
    std::optional<std::vector<Record>> records = records_of(part.text);
    if (!records) return {{}, part.name + ": a quoted field is not closed"};
    if (records->empty() || records->front().text.rfind("site,exit_code", 0) != 0) {
      return {{}, part.name + " is not a batch summary (its first line is not the header)"};
    }
    if (!split.empty() && records->front().text != split.front().front().text) {
      return {{}, part.name + ": its header differs from that of " + parts.front().name};
    }
    split.push_back(std::move(*records));
  }
  const std::size_t columns = split.front().front().fields;
  std::vector<Found> rows(sites.size());
  for (std::size_t p = 0; p < parts.size(); ++p) {
    for (std::size_t k = 1; k < split[p].size(); ++k) {
      const Found here{&parts[p], &split[p][k]};
      if (here.record->fields != columns) {
        return {{},
                place(here) + ": " + std::to_string(here.record->fields) + " fields, the header " +
                    std::to_string(columns)};
      }
      const auto at = position.find(here.record->first);
      if (at == position.end()) {
        return {{}, place(here) + ": the site " + here.record->first + " is not in the list"};
      }
      Found& slot = rows[at->second];
      if (slot.part != nullptr) {
        return {{},
                "the site " + here.record->first + " has two rows: " + place(slot) + " and " +
                    place(here)};
      }
      slot = here;
    }
  }
  std::size_t missing = 0;
  std::string first_missing;
  for (std::size_t i = 0; i < sites.size(); ++i) {
    if (rows[i].part != nullptr) continue;
    if (missing++ == 0) first_missing = sites[i];
  }
  if (missing > 0) {
    return {{},
            "the site " + first_missing + " is in none of the summaries" +
                (missing > 1 ? " (nor are " + std::to_string(missing - 1) + " more)" : "")};
  }
  Merged merged;
  merged.text = split.front().front().text;
  for (const Found& f : rows) merged.text += f.record->text;
  return merged;
}

int merge_summaries_main(int argc, char** argv) {
  CLI::App app(
      "Merges the summaries of a batch run in shares (--shard K/N) into the summary of the "
      "whole batch: the header once, the rows in the order of the sites. GeoJSON maps of the "
      "shares (--geojson) merge the same way into the map of the whole batch.",
      "gemino-term merge-summaries");
  std::string output;
  std::vector<std::string> sites;
  std::string sites_from;
  std::vector<std::string> inputs;
  app.add_option("summaries", inputs, "The summaries of the shares, in any order")
      ->required()
      ->type_name("SUMMARY...");
  app.add_option("-o,--output", output, "The merged summary")->required()->type_name("FILE");
  CLI::Option* listed =
      app.add_option("--sites", sites, "The sites in the batch's order, as --batch was given them")
          ->type_name("SITE_DIR...");
  app.add_option("--sites-from", sites_from, "A file with one site per line, in the batch's order")
      ->type_name("FILE")
      ->excludes(listed);
  if (const auto ended = parse_subcommand(app, argc, argv, "merge-summaries")) return *ended;
  auto usage = [](const std::string& message) {
    std::cerr << "gemino-term merge-summaries: " << message
              << " (see gemino-term merge-summaries --help)\n";
    return exit_usage;
  };
  if (sites.empty() && sites_from.empty()) return usage("give the order: --sites or --sites-from");
  if (output.empty()) return usage("--output needs a file name, not an empty one");
  for (const std::string& input : inputs) {
    if (same_file(input, output)) return usage("--output " + output + " is one of the summaries");
  }
  if (!sites_from.empty() && same_file(sites_from, output)) {
    return usage("--output " + output + " is the list of sites");
  }
  auto read = [](const std::string& name, std::string& text) {
    std::ifstream in(name, std::ios::binary);
    if (in) text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (!in && !in.eof()) {
      std::cerr << "gemino-term merge-summaries: cannot read " << name << "\n";
      return false;
    }
    return true;
  };
  if (!sites_from.empty()) {
    std::string list;
    if (!read(sites_from, list)) return exit_no_input;
    std::size_t at = 0;
    while (at < list.size()) {
      std::size_t end = list.find('\n', at);
      if (end == std::string::npos) end = list.size();
      std::string site = list.substr(at, end - at);
      if (!site.empty() && site.back() == '\r') site.pop_back();
      if (!site.empty()) sites.push_back(site);
      at = end + 1;
    }
  }
  std::vector<SummaryPart> parts;
  for (const std::string& input : inputs) {
    SummaryPart part{input, {}};
    if (!read(input, part.text)) return exit_no_input;
    parts.push_back(std::move(part));
  }
  // Maps merge as maps, summaries as summaries; never the one with the other.
  const bool maps = is_map(parts.front().text);
  for (const SummaryPart& part : parts) {
    if (is_map(part.text) != maps) {
      std::cerr << "gemino-term merge-summaries: " << part.name
                << (maps ? " is not a GeoJSON map like " : " is a GeoJSON map, unlike ")
                << parts.front().name << "\n";
      return exit_not_merged;
    }
  }
  const Merged merged = maps ? merge_maps(sites, parts) : merge_summaries(sites, parts);
  if (!merged.problem.empty()) {
    std::cerr << "gemino-term merge-summaries: " << merged.problem << "\n";
    return exit_not_merged;
  }
  try {
    write_file(output, merged.text);
  } catch (const std::exception& e) {
    std::cerr << "gemino-term merge-summaries: " << e.what() << "\n";
    return exit_cant_create;
  }
  return 0;
}

}  // namespace cli
