#include "results_qt/results_menu.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <optional>

#include "gemino/state.h"
#include "recfmt/hooks.h"
#include "results/file_output.h"
#include "results/json_export.h"
#include "results_qt/confidence_item.h"
#include "results_qt/figure_items.h"
#include "results_qt/magnitudes_dialog.h"
#include "results_qt/separation_item.h"
#include "results_qt/share_auto_item.h"
#include "vozo/menus.h"
#include "vozo/program_menu.h"
#include "vozo_qt/program_api.h"

namespace results_qt {

namespace {

QWidget* parent_window() {
  return QApplication::activeWindow();
}

void export_file(const char* caption, const char* name, const char* filter, bool json) {
  const results::Result* r = finished_result();
  if (r == nullptr) return;
  const QString path = QFileDialog::getSaveFileName(parent_window(), caption, name, filter);
  if (path.isEmpty()) return;
  try {
    const results::StressMagnitudes m = results::stress_magnitudes(*r, chosen_crss());
    results::write_file(path.toStdString(),
                        json ? results::to_json(*r, m).dump(2) + "\n" : results::planes_csv(*r));
  } catch (const std::exception& e) {
    QMessageBox::warning(parent_window(), caption, QString::fromStdString(e.what()));
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
};

void add_menu() {
  // Before the "Window" menu, which stays last.
  const auto before = static_cast<int32_t>(vozo::main_menu().size()) - 1;
  if (!vozo_qt::InsertMenuEntry(before, 0, 0, "&Results", nullptr)) return;
  for (const Item& item : items) vozo_qt::AddMenuItem(before + 1, 0, item.text, item.callback);
}

recfmt::ConsoleHooks& hooks_before() {
  static recfmt::ConsoleHooks hooks;
  return hooks;
}

void end_of_run(int32_t exit_code) {
  if (exit_code == 0 && results::has_result(gemino::shared_state())) add_menu();
  hooks_before().program_end(exit_code);
}

}  // namespace

void add_menu_when_run_ends() {
  hooks_before() = recfmt::console_hooks();
  recfmt::ConsoleHooks hooks = hooks_before();
  hooks.program_end = end_of_run;
  recfmt::install_console_hooks(hooks);
}

const results::Result* finished_result() {
  static std::optional<results::Result> result;
  if (!result && results::has_result(gemino::shared_state())) {
    result = results::build_result(gemino::shared_state());
  }
  return result ? &*result : nullptr;
}

double& chosen_crss() {
  static double crss = results::default_crss_mpa;
  return crss;
}

}  // namespace results_qt
