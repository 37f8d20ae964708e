// SPDX-License-Identifier: GPL-3.0-or-later
#include "results_qt/confidence_item.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QInputDialog>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <memory>

#include "bootstrap/confidence_text.h"
#include "bootstrap/converged_reference.h"
#include "bootstrap/indistinct.h"
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

const QString confidence_title = QStringLiteral("Confidence (bootstrap)");
const QString scan_title = QStringLiteral("Twin-percent scan");

// What the resamples and the scan start from: the selected run, read on the window
// thread before the workers start.
std::shared_ptr<const bootstrap::RunInput> run_input(const RunResults& run) {
  return std::make_shared<const bootstrap::RunInput>(bootstrap::run_input(*run.state, run.crss));
}

// Asks for the percentages from, to and step; false when cancelled.
bool ask_range(QWidget* parent, bootstrap::ScanRange& range) {
  QDialog dialog(parent);
  dialog.setWindowTitle(scan_title);
  auto spin = [&](int32_t value) {
    auto* box = new QSpinBox(&dialog);
    box->setRange(1, 100);
    box->setValue(value);
    return box;
  };
  QSpinBox* first = spin(range.first);
  QSpinBox* last = spin(range.last);
  QSpinBox* step = spin(range.step);
  first->setSuffix(QStringLiteral(" %"));
  last->setSuffix(QStringLiteral(" %"));
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("&From:"), first);
  form->addRow(QStringLiteral("&To:"), last);
  form->addRow(QStringLiteral("&Step:"), step);
  auto* problem = new QLabel(&dialog);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  // The same rule as the command line's FIRST:LAST:STEP.
  auto chosen = [&] {
    return bootstrap::parse_scan_range(std::to_string(first->value()) + ":" +
                                       std::to_string(last->value()) + ":" +
                                       std::to_string(step->value()));
  };
  auto check = [&] {
    const bool valid = chosen().has_value();
    buttons->button(QDialogButtonBox::Ok)->setEnabled(valid);
    QString why;
    if (!valid) {
      why = first->value() > last->value() ? QStringLiteral("From must not be above To.")
                                           : QStringLiteral("Step must not pass To.");
    }
    problem->setText(why);
  };
  for (QSpinBox* box : {first, last, step}) {
    QObject::connect(box, &QSpinBox::valueChanged, &dialog, check);
  }
  check();
  auto* layout = new QVBoxLayout(&dialog);
  layout->addLayout(form);
  layout->addWidget(problem);
  layout->addWidget(buttons);
  if (dialog.exec() != QDialog::Accepted || !chosen()) return false;
  range = *chosen();
  return true;
}

}  // namespace

BackgroundJob* start_confidence(int32_t resamples) {
  vozo_qt::Frame* frame = vozo_qt::env().frame;
  RunResults* run = menu_run();
  if (finished_result() == nullptr || frame == nullptr || resamples <= 0 ||
      BackgroundJob::current() != nullptr) {
    return nullptr;
  }
  auto summary = std::make_shared<bootstrap::Summary>();
  auto label = [resamples](int32_t done, int32_t total) {
    // The resamples first, then one inversion for each grain left out.
    if (done < resamples || total <= resamples) {
      return QStringLiteral("Resampling the grains: %1 of %2").arg(done).arg(resamples);
    }
    return QStringLiteral("Leaving out each grain: %1 of %2")
        .arg(done - resamples)
        .arg(total - resamples);
  };
  // The extent of the tensors the run's data cannot tell apart, shown below the summary.
  auto extent = std::make_shared<std::string>();
  // The tensor the cones are centred on.
  auto centre = std::make_shared<results::TensorResult>();
  auto work = [input = run_input(*run), summary, extent, centre,
               resamples](const BackgroundJob::Progress& progress) {
    // Centred on the converged answer of the full data, as the terminal's bootstrap is:
    // the run's tensor unless the converged search finds one that fits the data better.
    const gemino::ConvergedOptions converged;
    const bootstrap::CentredInput centred = bootstrap::centred_on_converged(*input, converged);
    *centre = centred.input.reference;
    bootstrap::Options options;
    options.resamples = resamples;
    options.jobs = 0;  // every core
    options.progress = progress;
    *summary = bootstrap::run_bootstrap(centred.input, options);
    if (summary->cancelled) return;
    if (centred.search.status == gemino::InversionStatus::done) {
      *extent = bootstrap::extent_text(centred.search, input->crss_mpa, converged.tolerance);
    }
  };
  // The run outlives its jobs: the session that owns it goes first, and a job's end is
  // never told once it is gone.
  auto finished = [summary, extent, centre, frame, run, crss = run->crss](bool cancelled) {
    if (cancelled || summary->cancelled) return;
    keep_block(*run, "bootstrap", bootstrap::bootstrap_json(*summary), crss);
    show_text_window(frame, confidence_title, bootstrap::bootstrap_summary_text(*summary) + *extent,
                     {"bootstrap.txt", "Bootstrap summary", run->run_files});
    set_stereonet_marks(*run, figures::confidence_marks(*summary, *centre));
  };
  return new BackgroundJob(frame, confidence_title, label, work, finished);
}

BackgroundJob* start_scan(const bootstrap::ScanRange& range) {
  vozo_qt::Frame* frame = vozo_qt::env().frame;
  RunResults* run = menu_run();
  if (finished_result() == nullptr || frame == nullptr || BackgroundJob::current() != nullptr) {
    return nullptr;
  }
  auto scan = std::make_shared<bootstrap::Scan>();
  auto label = [](int32_t done, int32_t total) {
    return QStringLiteral("Inverting for each percentage: %1 of %2").arg(done).arg(total);
  };
  const std::shared_ptr<const bootstrap::RunInput> input = run_input(*run);
  auto work = [input, scan, range](const BackgroundJob::Progress& progress) {
    // Measured from the converged answer of the full data, as the bootstrap is.
    *scan = bootstrap::run_scan(bootstrap::centred_on_converged(*input).input, range, 0, progress);
  };
  auto finished = [scan, frame, run, crss = input->crss_mpa,
                   percent = input->twin_percent](bool cancelled) {
    if (cancelled || scan->cancelled) return;
    keep_block(*run, "scan", bootstrap::scan_json(*scan, percent), crss);
    show_text_window(frame, scan_title, bootstrap::scan_table_text(*scan),
                     {"twin-percent-scan.txt", "Twin-percent scan", run->run_files});
    open_scan_figure(*run, *scan);
  };
  return new BackgroundJob(frame, scan_title, label, work, finished);
}

void confidence_item(int32_t&) {
  if (finished_result() == nullptr || BackgroundJob::raise_current()) return;
  bool ok = false;
  const int resamples =
      QInputDialog::getInt(vozo_qt::env().frame, confidence_title,
                           QStringLiteral("Number of resamples B:"), 1000, 1, 1000000, 100, &ok);
  if (ok) start_confidence(resamples);
}

void scan_item(int32_t&) {
  if (finished_result() == nullptr || BackgroundJob::raise_current()) return;
  RunResults* run = menu_run();
  if (ask_range(vozo_qt::env().frame, run->last_range)) start_scan(run->last_range);
}

}  // namespace results_qt
