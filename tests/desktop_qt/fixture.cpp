// SPDX-License-Identifier: GPL-3.0-or-later
#include "fixture.h"

#include <gtest/gtest.h>

#include "gemino/driver_in_process.h"
#include "gemino/io_files.h"
#include "results/magnitudes.h"

namespace desktop_test {

namespace {

// Hands the workbench the test's store while the test keeps reading it.
class SharedStore final : public desktop::SettingsStore {
 public:
  explicit SharedStore(std::shared_ptr<desktop::MemoryStore> store) : store_(std::move(store)) {}
  std::optional<std::string> value(std::string_view key) const override {
    return store_->value(key);
  }
  void set_value(std::string_view key, std::string_view value) override {
    store_->set_value(key, value);
  }
  void remove(std::string_view key) override { store_->remove(key); }

 private:
  std::shared_ptr<desktop::MemoryStore> store_;
};

}  // namespace

FrameWithWorkbench::FrameWithWorkbench(std::shared_ptr<desktop::MemoryStore> store, double c)
    : crss(c) {
  vozo_qt::reset_environment();
  frame_ = std::make_unique<vozo_qt::Frame>(QStringLiteral("gemino"));
  vozo_qt::env().frame = frame_.get();
  frame_->show();
  bench_ =
      desktop_qt::install_workbench(*frame_, std::make_unique<SharedStore>(std::move(store)), crss);
}

FrameWithWorkbench::~FrameWithWorkbench() {
  vozo_qt::env().frame = nullptr;
  frame_.reset();
  vozo_qt::reset_environment();
}

std::shared_ptr<const figures_qt::FigureData> example_data() {
  static std::shared_ptr<const figures_qt::FigureData> data = [] {
    gemino_test::ScratchDir dir;
    EXPECT_EQ(gemino_test::run_driver_in_process(dir, GEMINO_EXAMPLES "/params.txt",
                                                 GEMINO_EXAMPLES "/data.txt"),
              0);
    auto d = std::make_shared<figures_qt::FigureData>();
    d->result = results::build_result(gemino::shared_state());
    d->stress = results::stress_magnitudes(d->result);
    return d;
  }();
  return data;
}

}  // namespace desktop_test
