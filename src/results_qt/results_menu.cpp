// SPDX-License-Identifier: GPL-3.0-or-later
#include "results_qt/results_menu.h"

#include <QApplication>
#include <QFileDialog>
#include <QMenu>
#include <optional>

#include "desktop_qt/report_view.h"
#include "figures/result_figures.h"
#include "results_qt/confidence_item.h"
#include "results_qt/figure_items.h"
#include "results_qt/magnitudes_dialog.h"
#include "results_qt/run_exports.h"
#include "results_qt/run_results.h"
#include "results_qt/separation_item.h"
#include "results_qt/share_auto_item.h"
#include "results_qt/text_window.h"
#include "vozo/menus.h"
#include "vozo/program_menu.h"
#include "vozo_qt/dialog_provider.h"
#include "vozo_qt/environment.h"
#include "vozo_qt/mdi_frame.h"
#include "vozo_qt/program_api.h"

namespace results_qt {

namespace {

QWidget* parent_window() {
  return QApplication::activeWindow();
}

void export_file(const char* caption, const char* name, const char* filter, bool json) {
  if (finished_result() == nullptr) return;
  const QString path = QFileDialog::getSaveFileName(parent_window(), caption, name, filter);
  if (path.isEmpty()) return;
  if (json) {
    export_json_file(path.toStdString());
  } else {
    export_csv_file(path.toStdString());
  }
}

void export_json(int32_t&) {
  export_file("Export JSON", "result.json", "JSON files (*.json)", true);
}
void export_csv(int32_t&) {
  export_file("Export CSV", "planes.csv", "CSV files (*.csv)", false);
}
void show_magnitudes(int32_t&) {
  if (const results::Result* r = finished_result()) show_magnitudes_dialog(parent_window(), *r);
}

struct Item {
  const char* text;
  vozo::MenuCallback callback;
};
// The items of the menu, in order, each with a mnemonic of its own.
constexpr Item items[] = {
    {"Export &JSON...", export_json},
    {"Export C&SV...", export_csv},
    {"Stress &magnitudes...", show_magnitudes},
    {"S&tereonet", open_stereonet},
    {"&Grains", open_grains},
    {"S&hear-stress plot", open_shear_plot},
    {"&Cumulative chart", open_cumulative_chart},
    {"Confidence (&bootstrap)...", confidence_item},
    {"Twin-&percent scan...", scan_item},
    {"Suggested twin sh&are...", share_auto_item},
    {"Separate te&nsors...", separation_item},
    {"View &report", desktop_qt::view_report_item},
};

}  // namespace

QMenu* add_menu(int32_t before) {
  if (!vozo_qt::InsertMenuEntry(before, 0, 0, "&Results", nullptr)) return nullptr;
  for (const Item& item : items) {
    vozo_qt::AddMenuItem(before + 1, vozo_qt::MF_GRAYED, item.text, item.callback);
  }
  const QList<QMenu*> menus = vozo_qt::env().frame->menus();
  return before >= 0 && before < menus.size() ? menus[before] : nullptr;
}

void enable_menu(QMenu* menu) {
  if (menu == nullptr) return;
  const bool on = finished_result() != nullptr;
  for (QAction* action : menu->actions()) action->setEnabled(on);
}

namespace {

RunResults*& selected() {
  static RunResults* run = nullptr;
  return run;
}

}  // namespace

RunResults* menu_run() {
  return selected();
}

void set_menu_run(RunResults* run) {
  selected() = run;
}

const results::Result* finished_result() {
  RunResults* run = menu_run();
  if (run == nullptr || !run->ended || run->state == nullptr) return nullptr;
  if (!run->result && results::has_result(*run->state)) {
    run->result = results::build_result(*run->state);
  }
  return run->result ? &*run->result : nullptr;
}

bool export_json_file(const std::string& path) {
  const results::Result* r = finished_result();
  if (r == nullptr) return false;
  const RunJson made = run_json(*menu_run(), *r, chosen_crss());
  Outcome outcome = write_output(menu_run()->run_files, "JSON", path, made.json.dump(2) + "\n");
  // A block made for another CRSS would give other stresses than the result's.
  for (const std::string& key : outcome.written ? made.left_out : std::vector<std::string>()) {
    outcome.message +=
        "; its " + key + " block, made for another CRSS, is left out (compute it again)";
  }
  return show_outcome(outcome);
}

bool export_csv_file(const std::string& path) {
  const results::Result* r = finished_result();
  if (r == nullptr) return false;
  return show_outcome(write_output(menu_run()->run_files, "CSV", path, run_csv(*menu_run(), *r)));
}

double chosen_crss() {
  const RunResults* run = menu_run();
  return run != nullptr ? run->crss : results::default_crss_mpa;
}

void choose_crss(double crss) {
  RunResults* run = menu_run();
  if (run == nullptr || run->crss == crss) return;
  run->crss = crss;
  redraw_for_crss(*run);
  // The status bar's result follows the CRSS too.
  vozo_qt::Frame* frame = vozo_qt::env().frame;
  if (frame != nullptr && run->result) {
    frame->show_status(QString::fromStdString(
        figures::result_line(*run->result, results::stress_magnitudes(*run->result, crss))));
  }
}

}  // namespace results_qt
