// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/figure_export.h"

#include <cctype>

namespace desktop {

namespace {

struct Known {
  std::string_view extension;
  ExportFormat format;
  std::string_view name;
};
constexpr Known known[] = {
    {".png", ExportFormat::png, "PNG"},
    {".svg", ExportFormat::svg, "SVG"},
    {".pdf", ExportFormat::pdf, "PDF"},
    {".bmp", ExportFormat::bmp, "BMP"},
};

std::string_view file_name(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool same_letters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

}  // namespace

ExportFormat export_format(std::string_view path) {
  const std::string_view name = file_name(path);
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot == 0) return ExportFormat::unknown;
  for (const Known& k : known) {
    if (same_letters(name.substr(dot), k.extension)) return k.format;
  }
  return ExportFormat::unknown;
}

std::string_view format_name(ExportFormat format) {
  for (const Known& k : known) {
    if (k.format == format) return k.name;
  }
  return "unknown";
}

std::string with_extension(std::string_view path, ExportFormat format) {
  std::string name(path);
  if (export_format(path) != ExportFormat::unknown) return name;
  for (const Known& k : known) {
    if (k.format == format) return name + std::string(k.extension);
  }
  return name;
}

std::string written_message(std::string_view figure, std::string_view path, ExportFormat format,
                            int32_t dpi) {
  std::string text = std::string(figure) + " written to " + std::string(path) + " (" +
                     std::string(format_name(format));
  if (format == ExportFormat::png || format == ExportFormat::bmp) {
    text += ", " + std::to_string(dpi) + " dpi";
  }
  return text + ")";
}

std::string failed_message(std::string_view figure, std::string_view path, std::string_view why) {
  return std::string(figure) + " not written to " + std::string(path) + ": " + std::string(why);
}

std::string unknown_format_reason(std::string_view path) {
  const std::string_view name = file_name(path);
  const std::size_t dot = name.rfind('.');
  const std::string ending =
      dot == std::string_view::npos || dot == 0
          ? std::string("the name has no extension")
          : "\"" + std::string(name.substr(dot)) + "\" is not a figure format";
  return ending + "; end the name with .png, .svg, .pdf or .bmp";
}

}  // namespace desktop
