// SPDX-License-Identifier: GPL-3.0-or-later
#include "harness.h"

#include <unistd.h>
#include <QMdiSubWindow>
#include <QTest>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "recfmt/hooks.h"
#include "vozo_qt/console_hooks.h"
#include "vozo_qt/console_window.h"
#include "vozo_qt/environment.h"
#include "vozo_qt/mdi_frame.h"

namespace harness {

vozo::Answer ScriptedDialogs::ask(std::string_view text) {
  asked.emplace_back(text);
  if (answers.empty()) return vozo::Answer::cancel;
  const vozo::Answer a = answers.front();
  answers.pop_front();
  return a;
}

bool ScriptedDialogs::save_text_dialog(vozo::SaveDialogRequest& request) {
  save_requests.push_back(request);
  if (save_paths.empty() || save_paths.front().empty()) {
    if (!save_paths.empty()) save_paths.pop_front();
    return false;
  }
  request.path = save_paths.front();
  save_paths.pop_front();
  request.file_title = std::filesystem::path(request.path).filename().string();
  return true;
}

bool ScriptedDialogs::file_dialog(vozo::BrowseRequest& request) {
  browse_requests.push_back(request);
  if (browse_paths.empty()) return false;
  request.path = browse_paths.front();
  browse_paths.pop_front();
  return !request.path.empty();
}

void ScriptedDialogs::fatal(std::string_view caption, std::string_view text) {
  fatals.push_back(std::string(caption) + "|" + std::string(text));
}

Script::Script() {
  timer_.setInterval(5);
  connect(&timer_, &QTimer::timeout, this, &Script::tick);
  timer_.start();
}

void Script::when(std::function<bool()> ready, std::function<void()> act) {
  steps_.push_back({std::move(ready), std::move(act)});
}

void Script::on_read(std::function<void()> act) {
  when(reading, std::move(act));
}

void Script::tick() {
  if (++ticks_ > 4000) {
    // Twenty seconds without getting through the script: give up and end the frame.
    timed_out_ = true;
    timer_.stop();
    // Show where the dialogue stood, to tell a stalled read from a stalled run.
    if (vozo_qt::ConsoleWindow* c = console(0)) {
      for (const std::string& line : lines(c)) std::fprintf(stderr, "console| %s\n", line.c_str());
      std::fprintf(stderr, "console| step %zu of %zu, waiting %d\n", next_, steps_.size(),
                   c->state().waiting_for_line() ? 1 : 0);
    }
    vozo_qt::request_quit();
    vozo_qt::request_stop();
    return;
  }
  if (next_ >= steps_.size()) return;
  Step& step = steps_[next_];
  if (!step.ready()) return;
  ++next_;
  step.act();
}

vozo_qt::Frame* frame() {
  return vozo_qt::env().frame;
}

std::vector<vozo_qt::ConsoleWindow*> consoles() {
  std::vector<vozo_qt::ConsoleWindow*> list;
  vozo_qt::on_window_thread([&] {
    if (frame() == nullptr) return;
    for (QMdiSubWindow* sub : frame()->children()) {
      if (auto* c = qobject_cast<vozo_qt::ConsoleWindow*>(sub->widget())) list.push_back(c);
    }
  });
  return list;
}

vozo_qt::ConsoleWindow* console(std::size_t index) {
  const auto list = consoles();
  return index < list.size() ? list[index] : nullptr;
}

bool reading() {
  vozo_qt::ConsoleWindow* c = console(0);
  return c != nullptr && c->state().waiting_for_line();
}

void type(vozo_qt::ConsoleWindow* window, const std::string& text) {
  for (const char c : text) {
    if (c == '\r') {
      QTest::keyClick(window, Qt::Key_Return);
    } else if (c == '\b') {
      QTest::keyClick(window, Qt::Key_Backspace);
    } else if (c == '\t') {
      QTest::keyClick(window, Qt::Key_Tab);
    } else {
      QTest::keyClick(window, c);
    }
  }
}

std::vector<std::string> lines(vozo_qt::ConsoleWindow* window) {
  std::vector<std::string> out;
  // From the computation's thread too: the window thread reads them once it has shown
  // what was written before.
  vozo_qt::on_window_thread([&] {
    const vozo::LineStore& store = window->state().store();
    for (int32_t k = 1; k <= store.line_count(); ++k) out.emplace_back(store.line(k));
  });
  return out;
}

void write(std::string_view bytes) {
  recfmt::console_hooks().console_write(bytes.data(), static_cast<int32_t>(bytes.size()),
                                        recfmt::stdout_handle, recfmt::stdout_id);
}

std::string read_line() {
  char buffer[256];
  const int32_t n = recfmt::console_hooks().console_read(buffer, 256, recfmt::stdin_id);
  std::string line(buffer, static_cast<std::size_t>(n));
  if (line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0)
    line.resize(line.size() - 2);
  return line;
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string temp_dir() {
  static int counter = 0;
  const auto dir = std::filesystem::temp_directory_path() /
                   ("vozo_qt_test_" + std::to_string(::getpid()) + "_" + std::to_string(++counter));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir.string();
}

}  // namespace harness
