// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/menu_tips.h"

#include <cctype>

namespace desktop {

namespace {

struct Tip {
  std::string_view item;
  std::string_view tip;
};
constexpr Tip tips[] = {
    // File
    {"New run", "Starts a run: the parameter, data and report files in one dialog"},
    {"Run again", "Runs the last run's files again"},
    {"Import table", "Converts a plane table or an EBSD grain table (CSV) to a data file"},
    {"Stop", "Stops the running inversion at its next progress report"},
    {"Browse", "Chooses the file the console is asking for"},
    {"Save", "Saves the active window: a console as text, a figure as a bitmap"},
    {"Save As", "Saves the active window under a new name"},
    {"Export figure", "Writes the active figure as PNG, SVG, PDF or BMP"},
    {"Print", "Prints the active window"},
    {"About", "Shows the window framework and the machine it runs on"},
    {"Exit", "Ends the program, asking first about unsaved consoles"},
    // Edit
    {"Undo", "Takes back the last change to the line being typed"},
    {"Cut", "Moves the selected text of the line being typed to the clipboard"},
    {"Copy", "Copies the selected console text to the clipboard"},
    {"Paste", "Types the clipboard's text into the console"},
    {"Delete", "Deletes the selected text of the line being typed"},
    // Format
    {"Font", "Chooses the console's font (remembered for the next session)"},
    {"Color", "Chooses the console's text colour (remembered for the next session)"},
    // Window
    {"Cascade", "Stacks the windows, each a title bar below the one before"},
    {"Tile Horizontally", "Puts the windows one above the other"},
    {"Tile Vertically", "Puts the windows side by side"},
    {"Arrange Icons", "Lines the minimised windows up along the bottom"},
    // Search
    {"Converged search",
     "Reports the converged answer of repeated searches instead of the parameter file's search"},
    // Results
    {"Export JSON", "Writes the result, stress magnitudes included, as JSON"},
    {"Export CSV", "Writes the ranking of all planes as CSV"},
    {"Stress magnitudes", "Shows the differential stress for a chosen CRSS"},
    {"Stereonet", "Opens the stereonet of the principal stresses and of the planes' poles"},
    {"Grains", "Opens the stereonet of the grains' c-axes"},
    {"Shear-stress plot", "Opens the plot of each plane's resolved shear stress"},
    {"Cumulative chart", "Opens the cumulative chart of twinned and untwinned planes"},
    {"Confidence (bootstrap)", "Resamples the data to draw confidence cones around the axes"},
    {"Twin-percent scan",
     "Inverts again with the twinned share of the planes changed step by step"},
    {"Suggested twin share",
     "Scans the twinned share, then resamples the data at the share the scan suggests"},
    {"Separate tensors", "Looks for two or three stress tensors in the data"},
    {"View report", "Shows the run's report, read-only, in a fixed-width font"},
    // Help
    {"User guide", "Shows the user guide bundled with the program"},
    {"About Gemino", "Version, licence, how to cite Gemino and where the guide is"},
};

}  // namespace

std::string plain_item_text(std::string_view text) {
  text = text.substr(0, text.find('\t'));
  std::string plain;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&') {
      if (i + 1 < text.size() && text[i + 1] == '&') plain += '&';
      ++i;
      if (i < text.size() && text[i] != '&') plain += text[i];
      continue;
    }
    plain += text[i];
  }
  while (!plain.empty() && (plain.back() == '.' || plain.back() == ' ')) plain.pop_back();
  return plain;
}

std::string menu_tip(std::string_view item_text) {
  const std::string plain = plain_item_text(item_text);
  for (const Tip& t : tips) {
    if (t.item == plain) return std::string(t.tip);
  }
  // The Window menu's list: a number, a blank, the window's title.
  std::size_t digits = 0;
  while (digits < plain.size() && std::isdigit(static_cast<unsigned char>(plain[digits]))) ++digits;
  if (digits > 0 && digits + 1 < plain.size() && plain[digits] == ' ') {
    return "Brings \"" + plain.substr(digits + 1) + "\" to the front";
  }
  return {};
}

}  // namespace desktop
