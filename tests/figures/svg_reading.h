// SPDX-License-Identifier: GPL-3.0-or-later
// Reading back the elements of a figure's SVG: tag, class and data attributes, one
// element per line as the writer puts them.
#pragma once

#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace figures::testing {

struct SvgElement {
  std::string tag;
  std::map<std::string, std::string> attributes;
};

inline std::vector<SvgElement> svg_elements(const std::string& svg) {
  std::vector<SvgElement> elements;
  static const std::regex tag_pattern(R"(^<([a-z]+)\s)");
  static const std::regex attribute_pattern(R"(([a-z-]+)=\"([^\"]*)\")");
  std::istringstream lines(svg);
  for (std::string line; std::getline(lines, line);) {
    std::smatch tag;
    if (!std::regex_search(line, tag, tag_pattern)) continue;
    SvgElement element{tag[1], {}};
    // Attributes of the opening tag only: a text's content may hold '='.
    const std::string opening = line.substr(0, line.find('>'));
    for (auto it = std::sregex_iterator(opening.begin(), opening.end(), attribute_pattern);
         it != std::sregex_iterator(); ++it) {
      element.attributes[(*it)[1]] = (*it)[2];
    }
    elements.push_back(std::move(element));
  }
  return elements;
}

inline std::vector<SvgElement> with_class(const std::vector<SvgElement>& elements,
                                          const std::string& cls) {
  std::vector<SvgElement> found;
  for (const SvgElement& e : elements) {
    auto it = e.attributes.find("class");
    if (it == e.attributes.end()) continue;
    const std::string& value = it->second;
    std::istringstream words(value);
    for (std::string word; words >> word;) {
      if (word == cls) {
        found.push_back(e);
        break;
      }
    }
  }
  return found;
}

}  // namespace figures::testing
