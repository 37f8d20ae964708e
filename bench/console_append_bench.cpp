// SPDX-License-Identifier: GPL-3.0-or-later
// Program output appended to a console, without a display: lines of 80 characters
// each written as one record (text, CR, LF), as the run's report lines arrive.
#include <benchmark/benchmark.h>

#include <string>

#include "vozo/console_state.h"
#include "vozo/console_view.h"

namespace {

class NullView : public vozo::ConsoleView {
 public:
  void invalidate_cells(int32_t, int32_t, int32_t, int32_t) override {}
  void invalidate_to_right_edge(int32_t, int32_t) override {}
  void invalidate_all() override {}
  void scroll_cells(int32_t, int32_t) override {}
  void set_scroll_range(vozo::ScrollBar, int32_t) override {}
  void set_scroll_pos(vozo::ScrollBar, int32_t) override {}
  void move_caret(int32_t, int32_t) override {}
  void enable_menu_item(vozo::MenuId, bool) override {}
};

void BM_AppendLines(benchmark::State& state) {
  NullView view;
  vozo::ConsoleState console(view);
  console.resize(600, 300);  // the console's first size, 8 x 16 cells
  std::string record;
  for (int i = 0; i < 80; ++i) record += static_cast<char>('A' + i % 26);
  record += "\r\n";
  // 3,000 such lines fit in the text buffer; start again before it fills, so that
  // every line is really stored.
  int32_t lines = 0;
  for (auto _ : state) {
    if (lines == 3000) {
      console.clear();
      lines = 0;
    }
    console.append_output(record);
    ++lines;
  }
  benchmark::DoNotOptimize(console.store().line_count());
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(record.size()));
}
BENCHMARK(BM_AppendLines);

}  // namespace
