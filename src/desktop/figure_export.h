// SPDX-License-Identifier: GPL-3.0-or-later
// Exporting the figure of the active window: the format its file name's extension names,
// the resolution of a PNG, and what the status bar says afterwards.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace desktop {

enum class ExportFormat { png, svg, pdf, bmp, unknown };

// From the extension, in any case; a name that is only an extension (".png") has none.
ExportFormat export_format(std::string_view path);
std::string_view format_name(ExportFormat format);  // "PNG", ...

// The name with the extension of `format` added unless it already names a known format.
std::string with_extension(std::string_view path, ExportFormat format);

// Resolutions offered for a PNG, the first being the usual screen's.
inline constexpr int32_t dpi_choices[] = {96, 150, 300, 600};

// "Stereonet written to /d/net.png (PNG, 300 dpi)": the resolution only for the formats
// that have one (PNG, BMP).
std::string written_message(std::string_view figure, std::string_view path, ExportFormat format,
                            int32_t dpi);
// "Stereonet not written to /d/net.tif: ..." with the reason.
std::string failed_message(std::string_view figure, std::string_view path, std::string_view why);
// The reason given for a name whose extension names no format.
std::string unknown_format_reason(std::string_view path);

}  // namespace desktop
