// SPDX-License-Identifier: GPL-3.0-or-later
// The "Results" menu of the windowed program: there from the start, its items enabled
// at the end of a run that wrote its whole report and grayed after a run that failed. Its
// computations run on workers while the window stays live, and can be cancelled.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <filesystem>
#include <fstream>
#include <functional>

#include "desktop/menu_tips.h"
#include "figures_qt/figure_windows.h"
#include "gemino/driver.h"
#include "harness.h"
#include "results_qt/background_job.h"
#include "results_qt/confidence_item.h"
#include "results_qt/figure_items.h"
#include "results_qt/results_menu.h"
#include "results_qt/run_results.h"
#include "results_qt/separation_item.h"
#include "results_qt/share_auto_item.h"
#include "session_harness.h"
#include "vozo/menu_ids.h"
#include "vozo_qt/application.h"
#include "vozo_qt/dialog_provider.h"
#include "vozo_qt/environment.h"
#include "vozo_qt/mdi_frame.h"

namespace {

namespace fs = std::filesystem;

// Runs the windowed program on params.txt and data.txt of `dir`; returns the titles of the
// menus and the enabled items of the "Results" menu as they were when the run ended.
// `after_run` adds steps to the script between the end of the run and Exit.
QStringList menus_after_run(const fs::path& dir, QStringList& results_items,
                            const std::function<void(harness::Script&)>& after_run = {},
                            int32_t* planes = nullptr) {
  harness::ScriptedDialogs dialogs;
  QStringList titles;
  harness::run_typed(
      dir, dialogs,
      [&] {
        for (QMenu* menu : harness::frame()->menus()) {
          // Titles as the user reads them, without their mnemonic marks.
          titles << QString(menu->title()).remove(QLatin1Char('&'));
          if (titles.back() != "Results") continue;
          for (QAction* a : menu->actions()) {
            if (a->isEnabled()) results_items << a->text();
          }
        }
        if (planes != nullptr && results_qt::finished_result() != nullptr) {
          *planes = results_qt::finished_result()->counts.planes;
        }
      },
      after_run);
  return titles;
}

TEST(ResultsMenu, EnabledAfterASoundRunBeforeTheWindowMenu) {
  const fs::path dir = harness::example_dir();
  QStringList items;
  int32_t planes = 0;
  const QStringList titles = menus_after_run(dir, items, {}, &planes);
  EXPECT_EQ(titles.indexOf("Results") + 1, titles.indexOf("Window"))
      << titles.join(",").toStdString();
  // Each item with its own mnemonic.
  EXPECT_EQ(items,
            QStringList({"Export &JSON...", "Export C&SV...", "Stress &magnitudes...", "S&tereonet",
                         "&Grains", "S&hear-stress plot", "&Cumulative chart",
                         "Confidence (&bootstrap)...", "Twin-&percent scan...",
                         "Suggested twin sh&are...", "Separate te&nsors...", "View &report"}));
  // Each with its status-bar tip.
  for (const QString& item : items) {
    EXPECT_FALSE(desktop::menu_tip(item.toStdString()).empty()) << item.toStdString();
  }
  EXPECT_EQ(planes, 180);
}

using harness::example_dir;
using harness::idle;

// The text of the window titled `title` last opened, or "" when none is open.
std::string text_window(const QString& title) {
  std::string text;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->windowTitle() != title || !w->isVisible() || qobject_cast<QDialog*>(w) == nullptr) {
      continue;
    }
    if (auto* view = w->findChild<QPlainTextEdit*>()) text = view->toPlainText().toStdString();
  }
  return text;
}

QStringList figure_titles() {
  QStringList titles;
  for (QMdiSubWindow* sub : harness::frame()->children()) titles << sub->windowTitle();
  return titles;
}

TEST(ResultsMenu, BootstrapAndScanShowWhatTheyFoundAndTheirFigures) {
  QStringList items, after_bootstrap, after_scan;
  std::string summary, table;
  figures::StereonetExtras kept_marks;
  bool dialog_shown = false;
  menus_after_run(example_dir(), items, [&](harness::Script& script) {
    script.then([&] {
      results_qt::BackgroundJob* job = results_qt::start_confidence(8);
      ASSERT_NE(job, nullptr);
      dialog_shown = job->progress_dialog()->isVisible();
      EXPECT_EQ(results_qt::start_scan({90, 100, 5}), nullptr);  // one at a time
    });
    script.when(idle, [&] {
      summary = text_window("Confidence (bootstrap)");
      after_bootstrap = figure_titles();
      ASSERT_NE(results_qt::start_scan({90, 100, 5}), nullptr);
    });
    script.when(idle, [&] {
      kept_marks = results_qt::menu_run()->marks;
      table = text_window("Twin-percent scan");
      after_scan = figure_titles();
    });
  });
  EXPECT_TRUE(dialog_shown);
  EXPECT_EQ(summary.rfind("Bootstrap over grains: 8 of 8 resamples, seed 1\n", 0), 0u) << summary;
  EXPECT_TRUE(after_bootstrap.contains("Stereonet")) << after_bootstrap.join(",").toStdString();
  const figures::StereonetExtras& marks = kept_marks;
  EXPECT_EQ(marks.cones.size(), 3u);
  EXPECT_EQ(marks.dots.size() % 3, 0u);
  EXPECT_GE(marks.dots.size(), 3u);
  EXPECT_EQ(table.rfind("Twins counted", 0), 0u) << table;
  EXPECT_NE(table.find("     95 %"), std::string::npos) << table;
  EXPECT_TRUE(after_scan.contains("Twin-percent scan")) << after_scan.join(",").toStdString();
}

// The figure windows open in the frame, by title.
std::vector<QMdiSubWindow*> open_figures(const QString& title) {
  std::vector<QMdiSubWindow*> found;
  for (QMdiSubWindow* sub : harness::frame()->children()) {
    if (sub->windowTitle() == title && !sub->isHidden()) found.push_back(sub);
  }
  return found;
}

// Every text the window's figure draws at the page size, one per line.
std::string drawn_text(QMdiSubWindow* sub) {
  figures::FigureKind kind{};
  std::shared_ptr<const figures_qt::FigureData> data;
  if (!figures_qt::figure_of(sub, kind, data)) return "not a figure";
  std::string text;
  for (const figures::Item& item :
       figures_qt::data_figure(kind, *data, figures::page_width, figures::page_height).items) {
    if (item.kind == figures::Item::Kind::text) text += item.text + "\n";
  }
  return text;
}

TEST(ResultsMenu, AFigureOpensOnceAndFollowsTheRunsCrss) {
  QStringList items;
  std::size_t stereonets = 0, closed = 1, reopened = 0;
  QString active;
  std::string status_after;
  std::string stereonet_before, stereonet_after, plot_after;
  std::vector<std::pair<double, double>> scan_rows;  // SEUIL, Δσ of each row inverted
  menus_after_run(example_dir(), items, [&](harness::Script& script) {
    script.then([&] {
      int32_t id = 0;
      results_qt::open_stereonet(id);
      results_qt::open_shear_plot(id);
      stereonet_before = drawn_text(open_figures("Stereonet").at(0));
      results_qt::open_stereonet(id);  // again: the open one comes forward
      stereonets = open_figures("Stereonet").size();
      active = harness::frame()->client()->activeSubWindow()->windowTitle();
      ASSERT_NE(results_qt::start_scan({90, 100, 5}), nullptr);
    });
    script.when(idle, [&] {
      results_qt::choose_crss(20.0);
      status_after = harness::frame()->status_text().toStdString();
      stereonet_after = drawn_text(open_figures("Stereonet").at(0));
      plot_after = drawn_text(open_figures("Shear-stress plot").at(0));
      figures::FigureKind kind{};
      std::shared_ptr<const figures_qt::FigureData> data;
      ASSERT_TRUE(figures_qt::figure_of(open_figures("Twin-percent scan").at(0), kind, data));
      for (const bootstrap::ScanRow& row : data->scan.rows) {
        if (row.valid) scan_rows.emplace_back(row.tensor.threshold, row.differential_mpa.value());
      }
      // A figure closed opens anew.
      // No to saving it as a picture.
      auto* dialogs = dynamic_cast<harness::ScriptedDialogs*>(&vozo_qt::dialogs());
      ASSERT_NE(dialogs, nullptr);
      dialogs->answers.push_front(vozo::Answer::no);
      open_figures("Stereonet").at(0)->close();
      closed = open_figures("Stereonet").size();
      int32_t id = 0;
      results_qt::open_stereonet(id);
      reopened = open_figures("Stereonet").size();
    });
  });
  EXPECT_EQ(stereonets, 1u);
  EXPECT_EQ(active, "Stereonet");
  EXPECT_NE(status_after.find(", Δσ 161.3 MPa (CRSS 20.0), "), std::string::npos) << status_after;
  EXPECT_EQ(closed, 0u);
  EXPECT_EQ(reopened, 1u);
  EXPECT_NE(stereonet_before.find("Δσ = 80.6 MPa"), std::string::npos) << stereonet_before;
  EXPECT_NE(stereonet_after.find("  for CRSS = 20.0 MPa\n"), std::string::npos) << stereonet_after;
  EXPECT_NE(stereonet_after.find("Δσ = 161.3 MPa"), std::string::npos) << stereonet_after;
  EXPECT_NE(plot_after.find("σ1 − σ3 = 161 MPa for CRSS 20 MPa"), std::string::npos) << plot_after;
  ASSERT_EQ(scan_rows.size(), 3u);
  for (const auto& [threshold, differential] : scan_rows) EXPECT_EQ(differential, 20.0 / threshold);
}

TEST(ResultsMenu, SeparateTensorsShowsTheSummary) {
  QStringList items;
  std::string summary;
  menus_after_run(example_dir(), items, [&](harness::Script& script) {
    script.then([&] {
      ASSERT_NE(results_qt::start_separation(2), nullptr);
      EXPECT_EQ(results_qt::start_separation(0), nullptr);  // one at a time
    });
    script.when(idle, [&] { summary = text_window("Separate tensors"); });
  });
  EXPECT_EQ(summary.rfind("TENSORS: K = 2", 0), 0u) << summary;
  EXPECT_NE(summary.find("TENSOR 2: SIGMA 1"), std::string::npos) << summary;
}

TEST(ResultsMenu, CancelStopsALongBootstrapAndShowsNothing) {
  QStringList items, figures_before, figures_after;
  QPointer<results_qt::BackgroundJob> job;
  int32_t progressed = 0;
  std::string summary = "not looked at";
  menus_after_run(example_dir(), items, [&](harness::Script& script) {
    script.then([&] {
      figures_before = figure_titles();
      job = results_qt::start_confidence(1000000);
      ASSERT_NE(job, nullptr);
    });
    // The window stays live while the workers go: this script runs from its timer.
    script.when([&] { return job == nullptr || job->progress_dialog()->value() > 0; },
                [&] {
                  ASSERT_NE(job, nullptr);
                  progressed = job->progress_dialog()->value();
                  job->progress_dialog()->findChild<QPushButton*>()->click();
                });
    script.when(idle, [&] {
      figures_after = figure_titles();
      summary = text_window("Confidence (bootstrap)");
    });
  });
  EXPECT_GT(progressed, 0);
  EXPECT_EQ(figures_after, figures_before);
  EXPECT_EQ(summary, "");
}

TEST(ResultsMenu, SuggestedShareScansThenResamplesAtTheShare) {
  QStringList items;
  std::string text;
  std::size_t cones = 0;
  menus_after_run(example_dir(), items, [&](harness::Script& script) {
    script.then([&] {
      // none left from an earlier computation
      results_qt::set_stereonet_marks(*results_qt::menu_run(), {});
      EXPECT_EQ(results_qt::start_share_auto(0), nullptr);
      results_qt::BackgroundJob* job = results_qt::start_share_auto(8);
      ASSERT_NE(job, nullptr);
      EXPECT_EQ(results_qt::start_confidence(8), nullptr);  // one at a time
      EXPECT_EQ(results_qt::start_share_auto(8), nullptr);
    });
    script.when(idle, [&] {
      text = text_window("Suggested twin share");
      cones = results_qt::menu_run()->marks.cones.size();
    });
  });
  // The example fits every twin: the scan over 50 to 100 % suggests them all, the report's share.
  EXPECT_EQ(text.rfind("Twins counted", 0), 0u) << text;
  EXPECT_NE(text.find("     50 %"), std::string::npos) << text;
  EXPECT_NE(text.find("Twins counted beyond the report: 100 % (suggested by the scan); the "
                      "report counts 100 %\n\nTensor at 100 %: sigma1 "),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("Bootstrap over grains: 8 of 8 resamples, seed 1\n"), std::string::npos)
      << text;
  EXPECT_EQ(cones, 3u);
}

TEST(ResultsMenu, CancelDuringTheSuggestedSharesScanShowsNothing) {
  QStringList items;
  QPointer<results_qt::BackgroundJob> job;
  std::string text = "not looked at";
  menus_after_run(example_dir(), items, [&](harness::Script& script) {
    script.then([&] {
      job = results_qt::start_share_auto(1000000);
      ASSERT_NE(job, nullptr);
    });
    script.when([&] { return job == nullptr || job->progress_dialog()->value() > 0; },
                [&] {
                  ASSERT_NE(job, nullptr);
                  job->progress_dialog()->findChild<QPushButton*>()->click();
                });
    script.when(idle, [&] { text = text_window("Suggested twin share"); });
  });
  EXPECT_EQ(text, "");
}

// Which stage the dialog names is a matter of counts, not of how fast the workers went.
TEST(ResultsMenu, SuggestedShareDialogNamesEachStageByItsCount) {
  using bootstrap::AutoStage;
  struct Case {
    AutoStage stage;
    int32_t done, total;
    const char* label;
  };
  // 8 resamples, then 3 grains left out: the second stage counts 11 in all.
  const Case cases[] = {
      {AutoStage::scan, 0, 0, "Inverting for each percentage: 0 of 0"},
      {AutoStage::scan, 6, 11, "Inverting for each percentage: 6 of 11"},
      {AutoStage::bootstrap, 0, 11, "Resampling the grains at the suggested share: 0 of 8"},
      {AutoStage::bootstrap, 7, 11, "Resampling the grains at the suggested share: 7 of 8"},
      {AutoStage::bootstrap, 8, 11, "Leaving out each grain: 0 of 3"},
      {AutoStage::bootstrap, 11, 11, "Leaving out each grain: 3 of 3"},
      // no grain to leave out (a total that stops at B): still the resamples
      {AutoStage::bootstrap, 8, 8, "Resampling the grains at the suggested share: 8 of 8"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(results_qt::share_auto_label(c.stage, 8, c.done, c.total).toStdString(), c.label)
        << c.done << " of " << c.total;
  }
}

TEST(ResultsMenu, GrayedAfterAFailedRun) {
  const fs::path dir(harness::temp_dir());
  std::ofstream(dir / "params.txt") << "TOO SHORT\n";
  std::ofstream(dir / "data.txt") << "";
  QStringList items;
  EXPECT_TRUE(menus_after_run(dir, items).contains("Results"));
  EXPECT_EQ(items, QStringList());
}

}  // namespace
