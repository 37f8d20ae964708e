// SPDX-License-Identifier: GPL-3.0-or-later
// Program output appended to the real console window on the offscreen platform: lines of
// 80 characters, each one record (text, CR, LF), with the window's repaint scheduling
// and painting running as the event loop gets its turns between batches of records.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <memory>
#include <string>

#include "vozo/save_commands.h"
#include "vozo_qt/console_window.h"

namespace {

std::string record_of_80() {
  std::string record;
  for (int i = 0; i < 80; ++i) record += static_cast<char>('A' + i % 26);
  return record + "\r\n";
}

// batch: records appended between two turns of the event loop, as the window takes
// them from the computation's queue.
void BM_AppendLinesToTheWindow(benchmark::State& state) {
  const auto batch = static_cast<int32_t>(state.range(0));
  vozo::SaveDirectory directory;
  vozo_qt::ConsoleWindow window(QStringLiteral("Input/Output"), directory);
  window.resize(600, 300);
  window.show();
  QApplication::processEvents();
  const std::string record = record_of_80();
  int32_t lines = 0;
  int32_t in_batch = 0;
  for (auto _ : state) {
    // 3,000 such lines fit in the text buffer; start again before it fills, so that
    // every line is really stored.
    if (lines == 3000) {
      window.state().clear();
      lines = 0;
    }
    window.append_output(record);
    ++lines;
    if (++in_batch == batch) {
      in_batch = 0;
      QApplication::processEvents();
    }
  }
  QApplication::processEvents();
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(record.size()));
}
BENCHMARK(BM_AppendLinesToTheWindow)->Arg(1)->Arg(64)->Arg(1024);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
