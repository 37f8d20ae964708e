// SPDX-License-Identifier: GPL-3.0-or-later
#include "results_qt/separation_item.h"

#include <QInputDialog>
#include <QProgressDialog>
#include <QStringList>
#include <memory>
#include <vector>

#include "gemino/invert.h"
#include "gemino/state.h"
#include "results_qt/background_job.h"
#include "results_qt/results_menu.h"
#include "results_qt/run_results.h"
#include "results_qt/text_window.h"
#include "separation/outputs.h"
#include "separation/separation.h"
#include "vozo_qt/environment.h"
#include "vozo_qt/mdi_frame.h"

namespace results_qt {

namespace {

const QString separation_title = QStringLiteral("Separate tensors");

}  // namespace

BackgroundJob* start_separation(int32_t tensors) {
  vozo_qt::Frame* frame = vozo_qt::env().frame;
  if (finished_result() == nullptr || frame == nullptr || tensors < 0 || tensors > 3 ||
      BackgroundJob::current() != nullptr) {
    return nullptr;
  }
  // What the workers start from: the selected run, read on the window thread before
  // they start.
  const gemino::State& state = *menu_run()->state;
  const double crss = chosen_crss();
  auto rows = std::make_shared<const std::vector<gemino::PlaneRow>>(gemino::rows_of(state));
  separation::Options options;
  if (state.twin_percent > 0 && state.twin_percent < 100) {
    bool listed = false;
    for (const int32_t p : options.shares) listed = listed || p == state.twin_percent;
    if (!listed) options.shares.insert(options.shares.begin(), state.twin_percent);
  }
  options.tensors = tensors;
  options.trial_count = state.trial_count > 0 ? state.trial_count : 1;
  options.iteration_limit = state.iteration_limit;
  options.seed = state.record.seed;
  options.jobs = 0;  // every core
  auto found = std::make_shared<separation::Separation>();
  auto label = [](int32_t done, int32_t total) {
    return QStringLiteral("Separating at each share of twins: %1 of %2").arg(done).arg(total);
  };
  auto work = [rows, options, found](const BackgroundJob::Progress& progress) mutable {
    options.progress = progress;
    *found = separation::separate(*rows, options);
  };
  auto finished = [found, frame, crss](bool cancelled) {
    if (cancelled || found->status != gemino::InversionStatus::done) return;
    show_text_window(frame, separation_title, separation::tensors_summary(*found, crss));
  };
  return new BackgroundJob(frame, separation_title, label, work, finished);
}

void separation_item(int32_t&) {
  if (finished_result() == nullptr) return;
  if (BackgroundJob* job = BackgroundJob::current()) {
    if (QProgressDialog* dialog = job->progress_dialog()) {
      dialog->raise();
      dialog->activateWindow();
    }
    return;
  }
  const QStringList choices = {QStringLiteral("Chosen (1, 2 or 3)"), QStringLiteral("1"),
                               QStringLiteral("2"), QStringLiteral("3")};
  bool ok = false;
  const QString choice =
      QInputDialog::getItem(vozo_qt::env().frame, separation_title,
                            QStringLiteral("Number of tensors:"), choices, 0, false, &ok);
  if (!ok) return;
  start_separation(static_cast<int32_t>(choices.indexOf(choice) > 0 ? choices.indexOf(choice) : 0));
}

}  // namespace results_qt
