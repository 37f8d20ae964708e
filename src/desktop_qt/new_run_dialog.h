// SPDX-License-Identifier: GPL-3.0-or-later
// File > New run...: the parameter, data and report files (each with Browse, starting in
// the last folder used in the session), the CRSS, and what to compute once the report is
// written.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "desktop/remembered.h"
#include "desktop/run_request.h"

class QWidget;

namespace desktop_qt {

// Shows the dialog filled with `last`; the request, or nothing when cancelled. A request
// that cannot run (a file missing) keeps the dialog open with the reason shown. base is
// where a relative parameter file is taken; last_folder, where Browse opens, is kept by the
// session and updated.
// `recent` lists the recent runs (newest first) the dialog offers to fill its names from.
std::optional<desktop::RunRequest> ask_run_request(
    QWidget* parent, const desktop::RunRequest& last, const std::string& base,
    std::string& last_folder, const std::vector<desktop::RunFiles>& recent = {});

}  // namespace desktop_qt
