// SPDX-License-Identifier: GPL-3.0-or-later
#include "results_qt/share_auto_item.h"

#include <QInputDialog>
#include <QProgressDialog>
#include <atomic>
#include <memory>

#include "bootstrap/auto_share.h"
#include "bootstrap/confidence_text.h"
#include "figures/confidence_figures.h"
#include "results_qt/background_job.h"
#include "results_qt/figure_items.h"
#include "results_qt/results_menu.h"
#include "results_qt/run_exports.h"
#include "results_qt/run_results.h"
#include "results_qt/text_window.h"
#include "vozo_qt/environment.h"
#include "vozo_qt/mdi_frame.h"

namespace results_qt {

namespace {

const QString title = QStringLiteral("Suggested twin share");

}  // namespace

QString share_auto_label(bootstrap::AutoStage stage, int32_t resamples, int32_t done,
                         int32_t total) {
  if (stage == bootstrap::AutoStage::scan) {
    return QStringLiteral("Inverting for each percentage: %1 of %2").arg(done).arg(total);
  }
  if (done < resamples || total <= resamples) {
    return QStringLiteral("Resampling the grains at the suggested share: %1 of %2")
        .arg(done)
        .arg(resamples);
  }
  return QStringLiteral("Leaving out each grain: %1 of %2")
      .arg(done - resamples)
      .arg(total - resamples);
}

BackgroundJob* start_share_auto(int32_t resamples) {
  vozo_qt::Frame* frame = vozo_qt::env().frame;
  RunResults* run = menu_run();
  if (finished_result() == nullptr || frame == nullptr || resamples <= 0 ||
      BackgroundJob::current() != nullptr) {
    return nullptr;
  }
  // The stage the work is in, for the dialog's text: set by the worker before it tells the
  // count of that stage.
  auto stage = std::make_shared<std::atomic<bootstrap::AutoStage>>(bootstrap::AutoStage::scan);
  auto label = [stage, resamples](int32_t done, int32_t total) {
    return share_auto_label(stage->load(), resamples, done, total);
  };
  auto found = std::make_shared<bootstrap::AutoShare>();
  const auto input =
      std::make_shared<const bootstrap::RunInput>(bootstrap::run_input(*run->state, run->crss));
  auto work = [input, found, stage, resamples](const BackgroundJob::Progress& progress) {
    bootstrap::Options options;
    options.resamples = resamples;
    options.jobs = 0;  // every core
    *found = bootstrap::results_at_suggested_share(
        *input, bootstrap::auto_scan_range, options,
        [&](bootstrap::AutoStage now, int32_t done, int32_t total) {
          stage->store(now);
          return progress(done, total);
        });
  };
  // The run outlives its jobs: the session that owns it goes first.
  auto finished = [found, frame, run, report_percent = input->twin_percent,
                   crss = input->crss_mpa](bool cancelled) {
    if (cancelled || found->cancelled) return;
    // The blocks the terminal program's --twin-percent auto with --bootstrap B writes.
    keep_block(*run, "bootstrap", bootstrap::bootstrap_json(found->summary), crss);
    keep_block(*run, "scan", bootstrap::scan_json(found->scan, report_percent), crss);
    keep_block(
        *run, "twin_percent_auto",
        bootstrap::auto_json(found->chosen, found->at_share, report_percent, report_percent, crss),
        crss);
    show_text_window(frame, title, bootstrap::auto_share_text(*found, report_percent),
                     {"suggested-twin-share.txt", "Suggested twin share", run->run_files});
    set_stereonet_marks(*run, figures::confidence_marks(found->summary, found->at_share.reference));
  };
  return new BackgroundJob(frame, title, label, work, finished);
}

void share_auto_item(int32_t&) {
  if (finished_result() == nullptr) return;
  // One computation at a time: a running one's dialog comes to the front instead.
  if (BackgroundJob::raise_current()) return;
  bool ok = false;
  const int resamples = QInputDialog::getInt(
      vozo_qt::env().frame, title, QStringLiteral("Number of resamples B at the suggested share:"),
      1000, 1, 1000000, 100, &ok);
  if (ok) start_share_auto(resamples);
}

}  // namespace results_qt
