// SPDX-License-Identifier: GPL-3.0-or-later
// A text console child: a thin dispatcher that turns key, mouse, scroll-bar and paint
// events into calls on its ConsoleState, and carries out the display side effects the
// state asks for. Repaints are collected and left to the event loop.
#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QElapsedTimer>
#include <QFont>
#include <QRect>
#include <QTimer>
#include <memory>

#include "vozo/console_document.h"
#include "vozo/console_state.h"
#include "vozo/console_view.h"
#include "vozo/input_queue.h"
#include "vozo_qt/child_window.h"

namespace vozo {
class SaveDirectory;
}

namespace vozo_qt {

// Told in the status bar when a console's store is full.
inline constexpr char store_full_notice[] =
    "The console is full: some text is not shown and will not be in a saved transcript. "
    "The report file is not affected.";

class ConsoleWindow final : public QAbstractScrollArea,
                            public vozo::ConsoleView,
                            public ChildWindow {
  Q_OBJECT

 public:
  // directory is shared by every save dialog of the frame.
  ConsoleWindow(const QString& title, vozo::SaveDirectory& directory, QWidget* parent = nullptr);
  ~ConsoleWindow() override;

  vozo::ConsoleState& state() { return *state_; }
  const vozo::ConsoleState& state() const { return *state_; }
  const vozo::ConsoleDocument& document() const { return *document_; }
  QFont console_font() const { return font_; }
  QColor text_color() const;

  // ChildWindow
  void command(int32_t id) override;
  bool confirm_close() override;

  // ConsoleView
  void invalidate_cells(int32_t x, int32_t y, int32_t width, int32_t height) override;
  void invalidate_to_right_edge(int32_t x, int32_t y) override;
  void invalidate_all() override;
  void scroll_cells(int32_t dx, int32_t dy) override;
  void set_scroll_range(vozo::ScrollBar bar, int32_t maximum) override;
  void set_scroll_pos(vozo::ScrollBar bar, int32_t position) override;
  void move_caret(int32_t x, int32_t y) override;
  void enable_menu_item(vozo::MenuId id, bool enabled) override;
  void store_full() override { emit text_not_kept(); }

  // Applies a font as the Font... command does once the user confirmed it.
  void apply_font(const QFont& font);

  // Program output: one record.
  void append_output(std::string_view bytes) { state_->append_output(bytes); }
  // The computation waits for a line of at most capacity bytes (CR LF included) from
  // this window: an answer given ahead is handed over at once.
  void begin_read(int32_t capacity);
  bool reading() const { return reading_; }
  // The run this console served has ended: typed and pasted text no longer goes in (it
  // would stay in the transcript unread). Scrolling, selecting and copying still work.
  void close_input() { input_closed_ = true; }
  bool input_closed() const { return input_closed_; }
  // Types text as the keyboard would: a line end completes the line (and answers the
  // read); with several lines, the ones after the first wait for the next reads.
  void paste_text(std::string_view text);
  // Types one line and Return, as the keyboard would, whatever its length, in place of
  // what was typed after the prompt.
  void enter_line(std::string_view text);

 signals:
  // A frame menu item this window governs (Save, Cut, Copy, Paste, Delete) changed.
  void item_enabled_changed(int32_t id, bool enabled);
  // The window closed: its unit has no window any more.
  void closed(vozo_qt::ConsoleWindow* window);
  // The line answering the read, CR LF included.
  void line_entered(const QByteArray& line);
  // The store is full: text of this window was not kept (told once).
  void text_not_kept();
  // Esc: the user asks the run to stop.
  void stop_asked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  bool focusNextPrevChild(bool next) override;

 private:
  void scroll_action(Qt::Orientation orientation, int action);
  void scroll_released(Qt::Orientation orientation);
  QRect cell_rect(int32_t x, int32_t y, int32_t width, int32_t height) const;
  void mark_dirty(const QRect& rect);
  void schedule_flush();
  void flush_dirty();
  void apply_scroll_bars();
  void sync_title();
  bool copy_selection();
  void save(bool ask_path);
  // Return was typed: the line answers the waiting read, or waits for the next one.
  void type_return();
  void type_bytes(std::string_view bytes);
  void feed_answers();

  vozo::SaveDirectory& save_directory_;
  std::unique_ptr<vozo::ConsoleState> state_;
  std::unique_ptr<vozo::ConsoleDocument> document_;
  QFont font_;
  int32_t ascent_ = 0;
  QPoint caret_{0, 0};
  QRect dirty_;
  // dirty_ covers the whole client area.
  bool whole_dirty_ = false;
  // The flush timer runs: damage marked now is painted with what is already due.
  bool flush_pending_ = false;
  // Scroll bar ranges and positions the state asked for, shown with the next repaint.
  int32_t bar_max_[2] = {0, 0};
  int32_t bar_pos_[2] = {0, 0};
  bool bars_dirty_ = false;
  QTimer flush_timer_;
  QElapsedTimer since_paint_;
  // True when the font's advance is a whole number of pixels: a run of text can then
  // be drawn in one call and still fall on its cells.
  bool whole_advance_ = false;
  // Set while the state moves a scroll bar, so the bar's own signals are not taken
  // for a user's request.
  bool setting_bars_ = false;
  // The user agreed to close (or there was nothing to ask): the close goes through.
  bool close_confirmed_ = false;
  bool closed_ = false;
  // A read of the computation waits for this window's next line.
  bool reading_ = false;
  bool input_closed_ = false;
  int32_t read_capacity_ = 0;
  // Lines given before the program asked for them.
  vozo::InputQueue answers_;
};

}  // namespace vozo_qt
