// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/help_texts.h"

#include "gemino/version.h"

namespace desktop {

namespace {

std::string folder(std::string_view dir) {
  std::string d(dir);
  if (d.empty()) return "./";
  if (d.back() != '/') d += '/';
  return d;
}

}  // namespace

std::vector<std::string> guide_candidates(std::string_view program_dir) {
  const std::string dir = folder(program_dir);
  const std::string name(guide_file);
  return {dir + name, dir + "docs/" + name,
          dir + "../share/doc/" + std::string(gemino::program_name) + "/docs/" + name};
}

std::string find_guide(std::string_view program_dir,
                       const std::function<bool(const std::string&)>& exists) {
  for (const std::string& path : guide_candidates(program_dir)) {
    if (exists(path)) return path;
  }
  return {};
}

std::string about_text(std::string_view guide_path, std::string_view program_dir) {
  const std::string version(gemino::program_version);
  std::string text = "Gemino " + version +
                     "\nStress tensor inversion of mechanical twin lamellae in crystal grains.\n\n";
  text += std::string(gemino::copyright_line) + "\n" + std::string(gemino::licence_notice);
  text += "\nTo cite: Gemino maintainers (2026). Gemino " + version +
          ": stress tensor inversion of mechanical twin lamellae. Please give the version and "
          "the search used (classic or converged) with your results.\n\n";
  if (!guide_path.empty()) {
    text += "User guide: " + std::string(guide_path) + " (Help > User guide, F1)\n";
  } else {
    text += "User guide: not found; looked for";
    for (const std::string& path : guide_candidates(program_dir)) text += "\n  " + path;
    text += "\n";
  }
  return text;
}

}  // namespace desktop
