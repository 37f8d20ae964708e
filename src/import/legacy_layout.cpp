// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/legacy_layout.h"

#include <map>
#include <string>

#include "import/legacy_file.h"

namespace data_import {

namespace {

int32_t planes_of(const GrainSet& set, const std::vector<std::size_t>& grains) {
  int32_t n = 0;
  for (std::size_t i : grains) n += static_cast<int32_t>(set.grains[i].planes.size());
  return n;
}

const char* const split_hint = "; --split writes several data files";

// Fills files with whole groups of grains (each group one block), three blocks and 500
// planes to a file.
Layout fill_files(const GrainSet& set, const std::vector<std::vector<std::size_t>>& groups,
                  const std::vector<bool>& keep_numbers, bool split) {
  Layout layout;
  layout.files.emplace_back();
  int32_t planes_in_file = 0;
  for (std::size_t k = 0; k < groups.size(); ++k) {
    const int32_t planes = planes_of(set, groups[k]);
    FileLayout* file = &layout.files.back();
    if (static_cast<int32_t>(file->blocks.size()) == max_blocks_per_file ||
        planes_in_file + planes > max_planes_per_file) {
      if (!split) {
        const int32_t total = planes_of(set, [&] {
          std::vector<std::size_t> all;
          for (const auto& g : groups) all.insert(all.end(), g.begin(), g.end());
          return all;
        }());
        if (total > max_planes_per_file) {
          throw InputError({}, "the table holds " + std::to_string(total) +
                                   " planes: a data file holds at most 500" + split_hint);
        }
        throw InputError({},
                         "the table needs more than three blocks of 99 grains: a data file "
                         "holds at most three, its data numbers staying below 1000 and "
                         "distinct" +
                             std::string(split_hint));
      }
      layout.files.emplace_back();
      file = &layout.files.back();
      planes_in_file = 0;
    }
    BlockLayout block;
    block.grains = groups[k];
    for (std::size_t j = 0; j < groups[k].size(); ++j) {
      block.numbers.push_back(keep_numbers[k] ? static_cast<int32_t>(set.grains[groups[k][j]].id)
                                              : static_cast<int32_t>(j + 1));
    }
    file->blocks.push_back(block);
    planes_in_file += planes;
  }
  layout.renumbered = layout.files.size() > 1;
  return layout;
}

Layout with_blocks(const GrainSet& set, bool split) {
  std::map<int32_t, std::vector<std::size_t>> by_block;
  for (std::size_t i = 0; i < set.grains.size(); ++i) {
    const SourceGrain& g = set.grains[i];
    if (g.id > max_grains_per_block) {
      throw InputError(g.place, "grain " + std::to_string(g.id) +
                                    ": grain numbers run from 1 to 99 within a block");
    }
    by_block[g.block].push_back(i);
  }
  const int32_t last = by_block.rbegin()->first;
  if (last <= max_blocks_per_file) {
    // The table's blocks as they are, an empty block standing for a missing number.
    std::vector<std::vector<std::size_t>> groups(static_cast<std::size_t>(last));
    for (const auto& [b, grains] : by_block) groups[static_cast<std::size_t>(b - 1)] = grains;
    int32_t planes = 0;
    for (const auto& g : groups) planes += planes_of(set, g);
    if (planes <= max_planes_per_file) {
      Layout layout;
      layout.files.emplace_back();
      for (const auto& g : groups) {
        BlockLayout block;
        block.grains = g;
        for (std::size_t i : g) block.numbers.push_back(static_cast<int32_t>(set.grains[i].id));
        layout.files.back().blocks.push_back(block);
      }
      return layout;
    }
  } else if (!split) {
    throw InputError(set.grains[by_block.rbegin()->second.front()].place,
                     "block " + std::to_string(last) +
                         ": a data file holds at most three blocks, its data numbers staying "
                         "below 1000 and distinct" +
                         split_hint);
  }
  std::vector<std::vector<std::size_t>> groups;
  for (const auto& [b, grains] : by_block) groups.push_back(grains);
  Layout layout = fill_files(set, groups, std::vector<bool>(groups.size(), true), split);
  // Blocks are numbered from 1 in each file.
  layout.renumbered = layout.renumbered || by_block.size() != static_cast<std::size_t>(last);
  return layout;
}

}  // namespace

Layout lay_out(const GrainSet& set, bool split) {
  if (set.grains.empty()) throw InputError({}, "the table holds no grain");
  if (set.has_blocks) return with_blocks(set, split);
  bool numbers_fit = set.grains.size() <= static_cast<std::size_t>(max_grains_per_block);
  for (const SourceGrain& g : set.grains) numbers_fit = numbers_fit && g.id <= max_grains_per_block;
  if (numbers_fit) {
    std::vector<std::size_t> all;
    for (std::size_t i = 0; i < set.grains.size(); ++i) all.push_back(i);
    return fill_files(set, {all}, {true}, split);
  }
  std::vector<std::vector<std::size_t>> groups;
  for (std::size_t i = 0; i < set.grains.size(); ++i) {
    if (i % max_grains_per_block == 0) groups.emplace_back();
    groups.back().push_back(i);
  }
  Layout layout = fill_files(set, groups, std::vector<bool>(groups.size(), false), split);
  layout.renumbered = true;
  return layout;
}

}  // namespace data_import
