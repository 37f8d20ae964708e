// SPDX-License-Identifier: GPL-3.0-or-later
#include "results_qt/separation_item.h"

#include <QInputDialog>
#include <QMdiSubWindow>
#include <QProgressDialog>
#include <QStringList>
#include <algorithm>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "figures_qt/figure_windows.h"
#include "gemino/invert.h"
#include "gemino/state.h"
#include "results/magnitudes.h"
#include "results_qt/background_job.h"
#include "results_qt/results_menu.h"
#include "results_qt/run_exports.h"
#include "results_qt/run_results.h"
#include "results_qt/text_window.h"
#include "separation/outputs.h"
#include "separation/run_outputs.h"
#include "separation/separation.h"
#include "separation/tensor_figures.h"
#include "vozo_qt/environment.h"
#include "vozo_qt/mdi_frame.h"

namespace results_qt {

namespace {

const QString separation_title = QStringLiteral("Separate tensors");

// The further reports beside the run's report, as the terminal program writes them; what
// became of them, for the status bar. They are written by the computation's report unit,
// which a run that is going uses itself.
std::string write_further_reports(const RunResults& run, const separation::Separation& s,
                                  const separation::Options& options) {
  if (run.report_path.empty() || run.state == nullptr) return {};
  if (vozo_qt::env().computing) {
    return "the further reports are not written while a run is going: separate again after it";
  }
  std::string said;
  auto add = [&said](const std::string& text) { said += (said.empty() ? "" : "; ") + text; };
  try {
    for (const auto& [path, text] :
         separation::further_reports(*run.state, s, options, run.report_path, run.run_files)) {
      add(write_output(run.run_files, path.filename().string(), path.string(), text).message);
    }
  } catch (const std::exception& e) {
    add(std::string("further reports not written: ") + e.what());
  }
  // One of an earlier separation into more tensors stays, and is said not to be this one's.
  for (std::size_t k = std::max<std::size_t>(s.tensors.size(), 1); k < 3; ++k) {
    const std::filesystem::path stale =
        separation::beside(run.report_path, separation::tensor_tags[k]);
    std::error_code ec;
    if (std::filesystem::exists(stale, ec)) {
      add(stale.string() + " is not of this separation (it found " +
          std::to_string(s.tensors.size()) + " tensors): left as it is");
    }
  }
  return said;
}

// The stereonet of each tensor and the one of all of them, each in a window of the run.
void open_stereonets(RunResults& run, const results::Result& base, const separation::Separation& s,
                     double crss) {
  const std::vector<gemino::PlaneRow> rows = gemino::rows_of(*run.state);
  for (separation::TensorStereonet& net : separation::tensor_stereonets(base, rows, s, crss)) {
    const QString title = net.combined ? QStringLiteral("Stereonet of all tensors")
                                       : QStringLiteral("Stereonet of tensor %1")
                                             .arg(QString::fromStdString(net.tag.substr(1)));
    auto data = std::make_shared<figures_qt::FigureData>();
    data->result = std::move(net.result);
    data->stress = net.stress;
    data->extras = std::move(net.extras);
    if (QMdiSubWindow* sub = figures_qt::open_figure_window(figures::FigureKind::stereonet, data)) {
      sub->setWindowTitle(title);
      run.figures.emplace_back(sub);
      run.open_figures.push_back({sub, figures::FigureKind::stereonet, data, true});
    }
  }
}

}  // namespace

BackgroundJob* start_separation(int32_t tensors) {
  vozo_qt::Frame* frame = vozo_qt::env().frame;
  if (finished_result() == nullptr || frame == nullptr || tensors < 0 || tensors > 3 ||
      BackgroundJob::current() != nullptr) {
    return nullptr;
  }
  // What the workers start from: the selected run, read on the window thread before
  // they start.
  RunResults* run = menu_run();
  const results::Result base = *finished_result();
  const double crss = chosen_crss();
  auto rows = std::make_shared<const std::vector<gemino::PlaneRow>>(gemino::rows_of(*run->state));
  separation::Options options = separation::run_options(*run->state, tensors, 0);
  auto found = std::make_shared<separation::Separation>();
  auto label = [](int32_t done, int32_t total) {
    return QStringLiteral("Separating at each share of twins: %1 of %2").arg(done).arg(total);
  };
  auto work = [rows, options, found](const BackgroundJob::Progress& progress) mutable {
    options.progress = progress;
    *found = separation::separate(*rows, options);
  };
  // The run outlives its jobs: the session that owns it goes first.
  auto finished = [found, frame, run, base, crss, options, tensors](bool cancelled) {
    if (cancelled || found->status != gemino::InversionStatus::done) return;
    run->separation = *found;
    run->tensors_asked = tensors == 0 ? std::string("auto") : std::to_string(tensors);
    show_text_window(frame, separation_title, separation::tensors_summary(*found, crss),
                     {"tensors.txt", "Tensors summary", run->run_files});
    open_stereonets(*run, base, *found, crss);
    const std::string said = write_further_reports(*run, *found, options);
    if (!said.empty()) frame->show_status(QString::fromStdString(said));
  };
  return new BackgroundJob(frame, separation_title, label, work, finished);
}

void separation_item(int32_t&) {
  if (finished_result() == nullptr) return;
  // One computation at a time: a running one's dialog comes to the front instead.
  if (BackgroundJob::raise_current()) return;
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
