// SPDX-License-Identifier: GPL-3.0-or-later
// What the windowed program keeps and writes of the Results menu's computations: its JSON
// blocks, CSV column and further reports are those the terminal program writes for the
// same run and options, byte for byte; the result windows save and copy their text; and
// nothing is ever written over one of the run's own files.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "figures_qt/figure_windows.h"
#include "harness.h"
#include "results_qt/background_job.h"
#include "results_qt/confidence_item.h"
#include "results_qt/figure_items.h"
#include "results_qt/results_menu.h"
#include "results_qt/separation_item.h"
#include "results_qt/share_auto_item.h"
#include "session_harness.h"
#include "vozo/menu_ids.h"
#include "vozo_qt/console_window.h"
#include "vozo_qt/environment.h"
#include "vozo_qt/mdi_frame.h"

namespace {

namespace fs = std::filesystem;
using json = nlohmann::ordered_json;

using harness::example_dir;
using harness::idle;

// Runs the windowed program on params.txt, `data` and report.txt of `dir`, then the steps
// of `after_run`, then Exit (No to every save question).
void run_desktop(const fs::path& dir, harness::ScriptedDialogs& dialogs,
                 const std::function<void(harness::Script&)>& after_run,
                 const std::string& data = "data.txt") {
  harness::run_typed(
      dir, dialogs, [] {}, after_run, data);
}

// The terminal program on the same files, its report named term.txt.
void run_terminal(const fs::path& dir, const std::string& options,
                  const std::string& data = "data.txt") {
  const std::string command = "cd '" + dir.string() + "' && '" + GEMINO_TERM_PATH +
                              "' params.txt " + data + " term.txt " + options + " >/dev/null 2>&1";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
}

json read_json(const fs::path& path) {
  return json::parse(harness::read_file(path.string()));
}

std::string status() {
  return harness::frame()->status_text().toStdString();
}

// The result window titled `title`, or nullptr.
QDialog* text_window(const QString& title) {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    auto* dialog = qobject_cast<QDialog*>(w);
    if (dialog != nullptr && w->windowTitle() == title && w->isVisible()) return dialog;
  }
  return nullptr;
}

void click(QDialog* window, const char* button) {
  ASSERT_NE(window, nullptr);
  auto* b = window->findChild<QPushButton*>(QString::fromLatin1(button));
  ASSERT_NE(b, nullptr) << button;
  b->click();
}

QStringList figure_titles() {
  QStringList titles;
  for (QMdiSubWindow* sub : harness::frame()->children()) titles << sub->windowTitle();
  return titles;
}

TEST(SessionOutputs, BootstrapAndScanBlocksAreTheTerminalProgramsAndTheWindowsSaveAndCopy) {
  const fs::path dir = example_dir();
  const std::string data_before = harness::read_file((dir / "data.txt").string());
  harness::ScriptedDialogs dialogs;
  std::string shown, refused, saved, copied, copied_status, exported, onto_params, other_crss;
  bool params_export = true;
  run_desktop(dir, dialogs, [&](harness::Script& script) {
    script.then([] { ASSERT_NE(results_qt::start_confidence(8), nullptr); });
    script.when(idle, [&] {
      QDialog* window = text_window("Confidence (bootstrap)");
      ASSERT_NE(window, nullptr);
      shown = window->findChild<QPlainTextEdit*>()->toPlainText().toStdString();
      // The data file by another spelling, then a file of its own.
      dialogs.save_paths = {(dir / "." / "data.txt").string(), (dir / "boot.txt").string()};
      click(window, "save");
      refused = status();
      click(window, "save");
      saved = status();
      QGuiApplication::clipboard()->clear();
      click(window, "copy");
      copied = QGuiApplication::clipboard()->text().toStdString();
      copied_status = status();
      ASSERT_NE(results_qt::start_scan({90, 100, 5}), nullptr);
    });
    script.when(idle, [&] {
      results_qt::export_json_file((dir / "desk.json").string());
      exported = status();
      params_export = results_qt::export_json_file((dir / "params.txt").string());
      onto_params = status();
      // Blocks worked out for another CRSS are not passed off as this one's.
      results_qt::choose_crss(12.0);
      results_qt::export_json_file((dir / "crss12.json").string());
      other_crss = status();
      results_qt::choose_crss(10.0);
    });
  });
  EXPECT_EQ(refused, "Bootstrap summary not written to " + (dir / "." / "data.txt").string() +
                         ": it is a file of the run");
  EXPECT_EQ(harness::read_file((dir / "data.txt").string()), data_before);
  EXPECT_EQ(saved, "Bootstrap summary written to " + (dir / "boot.txt").string());
  EXPECT_EQ(shown.rfind("Bootstrap over grains: 8 of 8 resamples, seed 1\n", 0), 0u) << shown;
  EXPECT_EQ(harness::read_file((dir / "boot.txt").string()), shown);
  EXPECT_EQ(copied, shown);
  EXPECT_EQ(copied_status, "Confidence (bootstrap) copied to the clipboard");
  EXPECT_EQ(exported, "JSON written to " + (dir / "desk.json").string());
  EXPECT_FALSE(params_export);
  EXPECT_NE(onto_params.find("it is a file of the run"), std::string::npos) << onto_params;
  EXPECT_EQ(harness::read_file((dir / "params.txt").string()),
            harness::read_file((fs::path(GEMINO_EXAMPLES) / "params.txt").string()));
  EXPECT_NE(other_crss.find("its bootstrap block, made for another CRSS, is left out"),
            std::string::npos)
      << other_crss;
  EXPECT_NE(other_crss.find("its scan block"), std::string::npos) << other_crss;
  const json at12 = read_json(dir / "crss12.json");
  EXPECT_FALSE(at12.contains("bootstrap"));
  EXPECT_FALSE(at12.contains("scan"));

  run_terminal(dir, "--json term.json --bootstrap 8 --scan-twin-percent 90:100:5");
  const json desk = read_json(dir / "desk.json");
  json term = read_json(dir / "term.json");
  ASSERT_TRUE(desk.contains("bootstrap") && desk.contains("scan"));
  EXPECT_EQ(desk["bootstrap"], term["bootstrap"]);
  EXPECT_EQ(desk["scan"], term["scan"]);
  // The whole file, in the terminal program's order, but for the check of its search.
  term.erase("search");
  EXPECT_EQ(desk.dump(2), term.dump(2));
}

TEST(SessionOutputs, SeparationWritesTheTerminalProgramsReportsBlockColumnAndStereonets) {
  const fs::path dir = example_dir();
  // A further report of an earlier separation into three tensors.
  { std::ofstream(dir / "report.t3.txt") << "earlier\n"; }
  harness::ScriptedDialogs dialogs;
  std::string said;
  QStringList figures, figures_after;
  std::vector<double> tensor_net_crss;
  std::map<std::string, double> differential;  // of each tensor stereonet, by its title
  std::map<std::string, double> upper_at_20;   // its bracket's upper end at 20 MPa, or -1
  run_desktop(dir, dialogs, [&](harness::Script& script) {
    script.then([] { ASSERT_NE(results_qt::start_separation(2), nullptr); });
    script.when(idle, [&] {
      said = status();
      figures = figure_titles();
      EXPECT_TRUE(results_qt::export_json_file((dir / "desk.json").string()));
      EXPECT_TRUE(results_qt::export_csv_file((dir / "desk.csv").string()));
      // The stereonet of all tensors gives tensor 1's magnitudes, as tensor 1's own does.
      for (QMdiSubWindow* sub : harness::frame()->children()) {
        figures::FigureKind kind{};
        std::shared_ptr<const figures_qt::FigureData> data;
        if (sub->windowTitle().startsWith("Stereonet of") &&
            figures_qt::figure_of(sub, kind, data)) {
          differential[sub->windowTitle().toStdString()] = data->stress.differential_mpa;
        }
      }
      // The tensors' stereonets follow the CRSS, and are never taken for the run's own; the
      // one of all tensors keeps tensor 1's bracket.
      results_qt::choose_crss(20.0);
      for (QMdiSubWindow* sub : harness::frame()->children()) {
        figures::FigureKind kind{};
        std::shared_ptr<const figures_qt::FigureData> data;
        if (sub->windowTitle().startsWith("Stereonet of") &&
            figures_qt::figure_of(sub, kind, data)) {
          tensor_net_crss.push_back(data->stress.crss_mpa);
          upper_at_20[sub->windowTitle().toStdString()] =
              data->stress.has_upper ? data->stress.differential_high_mpa : -1.0;
        }
      }
      int32_t id = 0;
      results_qt::open_stereonet(id);
      figures_after = figure_titles();
    });
  });
  EXPECT_EQ(tensor_net_crss, std::vector<double>(3, 20.0));
  ASSERT_EQ(differential.size(), 3u);
  EXPECT_EQ(differential["Stereonet of all tensors"], differential["Stereonet of tensor 1"]);
  EXPECT_NE(differential["Stereonet of tensor 1"], differential["Stereonet of tensor 2"]);
  EXPECT_GT(upper_at_20["Stereonet of tensor 1"], 0.0);
  EXPECT_EQ(upper_at_20["Stereonet of all tensors"], upper_at_20["Stereonet of tensor 1"]);
  EXPECT_TRUE(figures_after.contains("Stereonet")) << figures_after.join(",").toStdString();
  EXPECT_NE(said.find("report.t2.txt written to " + (dir / "report.t2.txt").string()),
            std::string::npos)
      << said;
  EXPECT_NE(said.find((dir / "report.t3.txt").string() + " is not of this separation"),
            std::string::npos)
      << said;
  EXPECT_EQ(harness::read_file((dir / "report.t3.txt").string()), "earlier\n");
  for (const char* title :
       {"Stereonet of tensor 1", "Stereonet of tensor 2", "Stereonet of all tensors"}) {
    EXPECT_TRUE(figures.contains(title)) << figures.join(",").toStdString();
  }

  run_terminal(dir, "--json term.json --csv term.csv --tensors 2");
  const std::string further = harness::read_file((dir / "report.t2.txt").string());
  EXPECT_FALSE(further.empty());
  EXPECT_EQ(further, harness::read_file((dir / "term.t2.txt").string()));
  // The run's own report is untouched by the further one's writing.
  EXPECT_EQ(harness::read_file((dir / "report.txt").string()),
            harness::read_file((dir / "term.txt").string()));
  const json desk = read_json(dir / "desk.json");
  const json term = read_json(dir / "term.json");
  ASSERT_TRUE(desk.contains("tensors"));
  EXPECT_EQ(desk["tensors"].dump(2), term["tensors"].dump(2));
  const std::string csv = harness::read_file((dir / "desk.csv").string());
  EXPECT_NE(csv.find(",tensor\n"), std::string::npos);
  EXPECT_EQ(csv, harness::read_file((dir / "term.csv").string()));
}

TEST(SessionOutputs, AFurtherReportNamedLikeTheRunsDataIsNotWritten) {
  // The data file has the name the second tensor's report would take.
  const fs::path dir = example_dir("report.t2.txt");
  const std::string data_before = harness::read_file((dir / "report.t2.txt").string());
  harness::ScriptedDialogs dialogs;
  std::string said;
  run_desktop(
      dir, dialogs,
      [&](harness::Script& script) {
        script.then([] { ASSERT_NE(results_qt::start_separation(2), nullptr); });
        script.when(idle, [&] { said = status(); });
      },
      "report.t2.txt");
  EXPECT_EQ(harness::read_file((dir / "report.t2.txt").string()), data_before);
  EXPECT_NE(said.find("is a file of the run"), std::string::npos) << said;
}

// The second run's console waits for a line.
bool second_reads() {
  return harness::consoles().size() > 1 && harness::console(1)->reading();
}

TEST(SessionOutputs, NoFurtherReportIsWrittenWhileAnotherRunIsGoing) {
  const fs::path dir = example_dir();
  harness::ScriptedDialogs dialogs;
  std::string said;
  run_desktop(dir, dialogs, [&](harness::Script& script) {
    script.then([] {
      ASSERT_NE(results_qt::start_separation(2), nullptr);
      // A second run, waiting at its first question: its thread is going.
      harness::session()->start_typed_run();
    });
    script.when(idle, [&] { said = status(); });
    script.when(second_reads, [] { harness::type(harness::console(1), "\r"); });
    script.when(second_reads, [] { harness::type(harness::console(1), "params.txt\r"); });
    script.when(second_reads, [] { harness::type(harness::console(1), "data.txt\r"); });
    script.when(second_reads, [] { harness::type(harness::console(1), "second.txt\r"); });
    script.when([] { return harness::session()->runs().back()->ended(); }, [] {});
  });
  EXPECT_EQ(said,
            "the further reports are not written while a run is going: separate again after it");
  EXPECT_FALSE(fs::exists(dir / "report.t2.txt"));
  // The second run's report is its own, whole.
  run_terminal(dir, "");
  EXPECT_EQ(harness::read_file((dir / "second.txt").string()),
            harness::read_file((dir / "term.txt").string()));
}

TEST(SessionOutputs, SuggestedShareBlocksAreTheTerminalProgramsTwinPercentAuto) {
  const fs::path dir = example_dir();
  harness::ScriptedDialogs dialogs;
  run_desktop(dir, dialogs, [&](harness::Script& script) {
    script.then([] { ASSERT_NE(results_qt::start_share_auto(8), nullptr); });
    script.when(idle,
                [&] { EXPECT_TRUE(results_qt::export_json_file((dir / "desk.json").string())); });
  });
  run_terminal(dir, "--json term.json --twin-percent auto --bootstrap 8");
  const json desk = read_json(dir / "desk.json");
  const json term = read_json(dir / "term.json");
  for (const char* key : {"bootstrap", "scan", "twin_percent_auto"}) {
    ASSERT_TRUE(desk.contains(key)) << key;
    EXPECT_EQ(desk[key].dump(2), term[key].dump(2)) << key;
  }
}

}  // namespace
