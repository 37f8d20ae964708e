// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers for driving the windowed environment from a test: scripted dialogs, a
// script of steps run by a timer while the computation waits inside the hooks, and
// access to the frame's consoles.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "vozo_qt/dialog_provider.h"

namespace vozo_qt {
class ConsoleWindow;
class Frame;
}  // namespace vozo_qt

namespace harness {

// Answers every question from queues and records what was asked.
class ScriptedDialogs final : public vozo_qt::DialogProvider {
 public:
  ScriptedDialogs() { vozo_qt::set_dialogs(this); }
  ~ScriptedDialogs() override { vozo_qt::set_dialogs(nullptr); }

  std::deque<vozo::Answer> answers;    // for ask(); cancel when empty
  std::deque<std::string> save_paths;  // for save dialogs; an empty one cancels
  std::vector<std::string> asked;      // texts of ask()
  std::vector<std::string> warnings;   // texts of warn()
  std::vector<std::string> fatals;     // "caption|text" of fatal()
  std::vector<vozo::SaveDialogRequest> save_requests;
  std::deque<std::string> browse_paths;  // for Browse's dialog; an empty one cancels
  std::vector<vozo::BrowseRequest> browse_requests;

  vozo::Answer ask(std::string_view text) override;
  bool save_text_dialog(vozo::SaveDialogRequest& request) override;
  bool file_dialog(vozo::BrowseRequest& request) override;
  void warn(std::string_view text) override { warnings.emplace_back(text); }
  void fatal(std::string_view caption, std::string_view text) override;
  std::function<bool(QFont&)> font_choice;      // cancels when empty
  std::function<bool(QColor&)> color_choice;    // cancels when empty
  std::function<bool(QPrinter&)> print_choice;  // cancels when empty
  int abouts = 0;

  bool save_bitmap_dialog(vozo::SaveDialogRequest& request) override {
    return save_text_dialog(request);
  }
  bool choose_font(QFont& font) override { return font_choice && font_choice(font); }
  bool choose_color(QColor& color) override { return color_choice && color_choice(color); }
  void about() override { ++abouts; }
  bool print_setup(QPrinter& printer) override { return print_choice && print_choice(printer); }
};

// Steps run in order from a timer while the computation runs: each waits until its
// condition holds, then acts. A watchdog ends the frame when a script stalls, so a
// faulty build fails instead of hanging.
class Script final : public QObject {
 public:
  Script();
  void when(std::function<bool()> ready, std::function<void()> act);
  // Convenience: act once the default console waits for a line.
  void on_read(std::function<void()> act);
  void then(std::function<void()> act) {
    when([] { return true; }, std::move(act));
  }
  bool finished() const { return next_ >= steps_.size(); }
  bool timed_out() const { return timed_out_; }

 private:
  void tick();
  struct Step {
    std::function<bool()> ready;
    std::function<void()> act;
  };
  std::vector<Step> steps_;
  std::size_t next_ = 0;
  int ticks_ = 0;
  bool timed_out_ = false;
  QTimer timer_;
};

vozo_qt::Frame* frame();
// The console windows in creation order.
std::vector<vozo_qt::ConsoleWindow*> consoles();
vozo_qt::ConsoleWindow* console(std::size_t index = 0);
// Whether the default console waits for a line.
bool reading();
// Types text (with \r for Return, \b for Backspace) into a console as key strokes.
void type(vozo_qt::ConsoleWindow* window, const std::string& text);
// The stored lines of a console, one string each.
std::vector<std::string> lines(vozo_qt::ConsoleWindow* window);
// Writes bytes to the default console the way the record layer does.
void write(std::string_view bytes);
// Reads a line from the default console the way the record layer does (CR LF cut).
std::string read_line();
std::string read_file(const std::string& path);
// A fresh empty directory for one test's files.
std::string temp_dir();

}  // namespace harness
