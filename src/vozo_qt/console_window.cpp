// SPDX-License-Identifier: GPL-3.0-or-later
#include "vozo_qt/console_window.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "vozo/save_commands.h"
#include "vozo/text_cells.h"
#include "vozo_qt/console_print.h"
#include "vozo_qt/dialog_provider.h"
#include "vozo_qt/shown_text.h"

namespace vozo_qt {
namespace {

// Fast output repaints at most this often; the text keeps up, the paints do not pile up.
constexpr int repaint_interval_ms = 20;

// The cell of a fixed-pitch font: the advance of a wide letter and the line height.
QSize cell_size(const QFont& font) {
  const QFontMetrics metrics(font);
  return {std::max(1, metrics.horizontalAdvance(QLatin1Char('M'))), std::max(1, metrics.height())};
}

// Keys the console acts on; everything else reaches it as a character, or not at all.
vozo::Key key_of(int key) {
  switch (key) {
    case Qt::Key_Home:
      return vozo::Key::home;
    case Qt::Key_End:
      return vozo::Key::end;
    case Qt::Key_PageUp:
      return vozo::Key::page_up;
    case Qt::Key_PageDown:
      return vozo::Key::page_down;
    case Qt::Key_Up:
      return vozo::Key::up;
    case Qt::Key_Down:
      return vozo::Key::down;
    case Qt::Key_Left:
      return vozo::Key::left;
    case Qt::Key_Right:
      return vozo::Key::right;
    case Qt::Key_Insert:
      return vozo::Key::insert;
    case Qt::Key_Delete:
      return vozo::Key::del;
    default:
      return vozo::Key::other;
  }
}

int32_t scroll_code(int action, Qt::Orientation orientation) {
  const bool vertical = orientation == Qt::Vertical;
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
      return vertical ? vozo::SB_LINEDOWN : vozo::SB_LINERIGHT;
    case QAbstractSlider::SliderSingleStepSub:
      return vertical ? vozo::SB_LINEUP : vozo::SB_LINELEFT;
    case QAbstractSlider::SliderPageStepAdd:
      return vertical ? vozo::SB_PAGEDOWN : vozo::SB_PAGERIGHT;
    case QAbstractSlider::SliderPageStepSub:
      return vertical ? vozo::SB_PAGEUP : vozo::SB_PAGELEFT;
    case QAbstractSlider::SliderToMinimum:
      return vertical ? vozo::SB_TOP : vozo::SB_LEFT;
    case QAbstractSlider::SliderToMaximum:
      return vertical ? vozo::SB_BOTTOM : vozo::SB_RIGHT;
    case QAbstractSlider::SliderMove:
      return vozo::SB_THUMBTRACK;
    default:
      return vozo::SB_ENDSCROLL;
  }
}

}  // namespace

ConsoleWindow::ConsoleWindow(const QString& title, vozo::SaveDirectory& directory, QWidget* parent)
    : QAbstractScrollArea(parent),
      save_directory_(directory),
      font_(QFontDatabase::systemFont(QFontDatabase::FixedFont)) {
  setAttribute(Qt::WA_DeleteOnClose, false);
  setFocusPolicy(Qt::StrongFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  viewport()->setCursor(Qt::IBeamCursor);
  viewport()->setAutoFillBackground(true);
  QPalette palette = viewport()->palette();
  palette.setColor(QPalette::Base, Qt::white);
  palette.setColor(QPalette::Window, Qt::white);
  viewport()->setPalette(palette);
  viewport()->setBackgroundRole(QPalette::Base);
  setWindowTitle(title);

  flush_timer_.setSingleShot(true);
  connect(&flush_timer_, &QTimer::timeout, this, &ConsoleWindow::flush_dirty);
  since_paint_.start();

  const QSize cell = cell_size(font_);
  ascent_ = QFontMetrics(font_).ascent();
  whole_advance_ = QFontMetricsF(font_).horizontalAdvance(QLatin1Char('M')) == cell.width();
  state_ = std::make_unique<vozo::ConsoleState>(*this, cell.width(), cell.height());
  document_ = std::make_unique<vozo::ConsoleDocument>(*state_, title.toStdString());

  for (auto [bar, orientation] : {std::pair{verticalScrollBar(), Qt::Vertical},
                                  std::pair{horizontalScrollBar(), Qt::Horizontal}}) {
    bar->setRange(0, 0);
    bar->setSingleStep(1);
    connect(bar, &QAbstractSlider::actionTriggered, this,
            [this, orientation](int action) { scroll_action(orientation, action); });
    connect(bar, &QAbstractSlider::sliderReleased, this,
            [this, orientation] { scroll_released(orientation); });
  }
}

ConsoleWindow::~ConsoleWindow() = default;

QColor ConsoleWindow::text_color() const {
  const uint32_t rgb = state_->text_color();
  return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// ---- display side effects -----------------------------------------------------------

QRect ConsoleWindow::cell_rect(int32_t x, int32_t y, int32_t width, int32_t height) const {
  const int32_t cw = state_->char_width();
  const int32_t ch = state_->char_height();
  return {x * cw, y * ch, width * cw, height * ch};
}

// Damage is gathered into one rectangle and handed to the widget once control returns
// to the event loop, and no sooner than a short interval after the last paint: typing a
// long output record costs one repaint, not one per byte, and a fast run a few dozen a
// second.
void ConsoleWindow::mark_dirty(const QRect& rect) {
  // Fast output moves the text up a line per record: the whole client area is then due
  // for repainting, and the rest of the records until the paint need not be measured.
  if (whole_dirty_) return;
  const QWidget* area = viewport();
  const int width = area->width();
  const int height = area->height();
  const int left = std::max(rect.left(), 0);
  const int top = std::max(rect.top(), 0);
  const int right = std::min(rect.right(), width - 1);
  const int bottom = std::min(rect.bottom(), height - 1);
  if (left > right || top > bottom) return;
  if (dirty_.isEmpty()) {
    dirty_.setCoords(left, top, right, bottom);
  } else {
    dirty_.setCoords(std::min(dirty_.left(), left), std::min(dirty_.top(), top),
                     std::max(dirty_.right(), right), std::max(dirty_.bottom(), bottom));
  }
  whole_dirty_ = dirty_.left() == 0 && dirty_.top() == 0 && dirty_.right() == width - 1 &&
                 dirty_.bottom() == height - 1;
  schedule_flush();
}

void ConsoleWindow::schedule_flush() {
  if (flush_pending_) return;
  flush_pending_ = true;
  const qint64 wait = repaint_interval_ms - since_paint_.elapsed();
  flush_timer_.start(static_cast<int>(std::max<qint64>(0, wait)));
}

void ConsoleWindow::flush_dirty() {
  flush_pending_ = false;
  since_paint_.restart();
  apply_scroll_bars();
  if (whole_dirty_) {
    // The area may have changed size since it was marked (a scroll bar came or went).
    viewport()->update();
  } else if (!dirty_.isEmpty()) {
    viewport()->update(dirty_);
  }
  dirty_ = QRect();
  whole_dirty_ = false;
}

void ConsoleWindow::invalidate_cells(int32_t x, int32_t y, int32_t width, int32_t height) {
  if (whole_dirty_) return;
  mark_dirty(cell_rect(x, y, width, height));
}

void ConsoleWindow::invalidate_to_right_edge(int32_t x, int32_t y) {
  if (whole_dirty_) return;
  const QRect cell = cell_rect(x, y, 1, 1);
  mark_dirty(QRect(cell.left(), cell.top(), viewport()->width() - cell.left(), cell.height()));
}

void ConsoleWindow::invalidate_all() {
  mark_dirty(viewport()->rect());
}

// Shifting the pixels would also shift the drawn caret; repainting the client area
// once the loop runs costs no more with a console-sized window.
void ConsoleWindow::scroll_cells(int32_t, int32_t) {
  invalidate_all();
}

// The bars are the state's display like the text: they follow it with the next
// repaint, so that fast output does not redraw them once a line.
void ConsoleWindow::set_scroll_range(vozo::ScrollBar bar, int32_t maximum) {
  bar_max_[bar == vozo::ScrollBar::vertical ? 1 : 0] = maximum;
  bars_dirty_ = true;
  schedule_flush();
}

void ConsoleWindow::set_scroll_pos(vozo::ScrollBar bar, int32_t position) {
  bar_pos_[bar == vozo::ScrollBar::vertical ? 1 : 0] = position;
  bars_dirty_ = true;
  schedule_flush();
}

void ConsoleWindow::apply_scroll_bars() {
  if (!bars_dirty_) return;
  bars_dirty_ = false;
  setting_bars_ = true;
  QScrollBar* bars[2] = {horizontalScrollBar(), verticalScrollBar()};
  for (int i = 0; i < 2; ++i) {
    bars[i]->setRange(0, bar_max_[i]);
    bars[i]->setPageStep(std::max<int32_t>(1, i == 1 ? state_->visible_rows() : 8));
    bars[i]->setSliderPosition(bar_pos_[i]);
    bars[i]->setValue(bar_pos_[i]);
  }
  setting_bars_ = false;
}

void ConsoleWindow::move_caret(int32_t x, int32_t y) {
  const QPoint cell(x, y);
  if (cell == caret_) return;
  invalidate_cells(caret_.x(), caret_.y(), 1, 1);
  caret_ = cell;
  invalidate_cells(x, y, 1, 1);
}

void ConsoleWindow::enable_menu_item(vozo::MenuId id, bool enabled) {
  emit item_enabled_changed(id, enabled);
}

// ---- events ---------------------------------------------------------------------------

void ConsoleWindow::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  painter.setFont(font_);
  const int32_t cw = state_->char_width();
  const int32_t ch = state_->char_height();
  const QRect area = event->rect();
  const vozo::LineRange lines = state_->repaint_lines(area.top(), area.bottom() + 1);
  const vozo::LineStore& store = state_->store();
  const int32_t left = state_->horizontal_pos();
  const int32_t columns = state_->visible_columns() + 2;
  const QColor ink = text_color();

  // A line of ASCII in a font whose advance is a whole number of pixels is drawn in one
  // call. Other text is drawn a character per cell, so that it still lines up with the
  // caret and the selection whatever the width of each letter in the font.
  auto draw_run = [&](int32_t line0, int32_t from, int32_t to) {
    const std::string_view text = store.line(line0 + 1);
    from = std::max(from, left);
    to = std::min(to, left + columns);
    const int32_t y = (line0 - state_->top()) * ch + ascent_;
    if (from >= to) return;
    const auto size = static_cast<int32_t>(text.size());
    if (whole_advance_ && vozo::is_ascii(text)) {
      to = std::min(to, size);
      if (from >= to) return;
      painter.drawText((from - left) * cw, y,
                       QString::fromLatin1(text.data() + from, static_cast<qsizetype>(to - from)));
      return;
    }
    int32_t at = vozo::byte_of_cell(text, from);
    for (int32_t c = from; c < to && at < size; ++c) {
      const int32_t n = vozo::char_size(text, at);
      painter.drawText((c - left) * cw, y, shown_text(text.substr(at, n)));
      at += n;
    }
  };

  painter.setPen(ink);
  for (int32_t i = lines.first; i <= lines.last; ++i) draw_run(i, 0, store.line_length(i + 1));

  if (state_->has_selection() && state_->selection_in_view()) {
    const int32_t line0 = state_->selection_line();
    const int32_t start = state_->selection_start();
    const int32_t end = state_->selection_end();
    painter.fillRect(
        QRect((start - left) * cw, (line0 - state_->top()) * ch, (end - start) * cw, ch),
        QColor(0, 0, 255));
    painter.setPen(Qt::white);
    draw_run(line0, start, end);
  }

  state_->finish_paint();
  enable_menu_item(vozo::IDM_SAVE, document_->modified());

  if (hasFocus()) {
    // A solid block one cell large, the character under it shown in reverse.
    const QRect block = cell_rect(caret_.x(), caret_.y(), 1, 1);
    painter.fillRect(block, ink);
    const int32_t column = caret_.x() + left;
    const int32_t line0 = caret_.y() + state_->top();
    const std::string_view text = store.line(line0 + 1);
    const int32_t at = vozo::byte_of_cell(text, std::max(0, column));
    if (column >= 0 && at < static_cast<int32_t>(text.size())) {
      painter.setPen(Qt::white);
      painter.drawText(block.left(), block.top() + ascent_,
                       shown_text(text.substr(at, vozo::char_size(text, at))));
    }
  }
}

void ConsoleWindow::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  state_->resize(viewport()->width(), viewport()->height());
}

// ---- input lines -------------------------------------------------------------------

void ConsoleWindow::begin_read(int32_t capacity) {
  reading_ = true;
  read_capacity_ = std::max(2, capacity);
  state_->set_waiting_for_line(true);
  feed_answers();
}

void ConsoleWindow::type_bytes(std::string_view bytes) {
  state_->type_text(bytes);
}

void ConsoleWindow::type_return() {
  state_->on_char(vozo::code_return);
  if (reading_) {
    reading_ = false;
    const std::string line = state_->take_input_line(read_capacity_);
    emit line_entered(QByteArray::fromStdString(line));
    return;
  }
  // Typed ahead: kept for the next read, as it stands on the screen.
  std::string line = state_->take_input_line(vozo::LineStore::text_capacity);
  line.resize(line.size() - 2);
  answers_.push({std::move(line), true, true});
}

void ConsoleWindow::feed_answers() {
  while (reading_ && !answers_.empty()) {
    vozo::InputQueue::Entry entry = answers_.pop();
    if (entry.shown) {
      reading_ = false;
      state_->set_waiting_for_line(false);
      entry.text.resize(
          static_cast<std::size_t>(vozo::boundary_before(entry.text, read_capacity_ - 2)));
      emit line_entered(QByteArray::fromStdString(entry.text + "\r\n"));
      return;
    }
    type_bytes(entry.text);
    if (!entry.ended) return;
    type_return();
  }
}

void ConsoleWindow::paste_text(std::string_view text) {
  if (input_closed_) return;
  const std::vector<vozo::PastedLine> lines = vozo::pasted_lines(text);
  if (lines.empty()) return;
  // The first line goes in now, the others wait for the reads that follow.
  const bool more_waiting = !answers_.empty();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i == 0 && !more_waiting) {
      state_->paste(lines[0].text);
      if (lines[0].ended) type_return();
      continue;
    }
    answers_.push({lines[i].text, false, lines[i].ended});
  }
  feed_answers();
}

void ConsoleWindow::enter_line(std::string_view text) {
  // The answer replaces what was typed after the prompt so far.
  state_->erase_typed_input();
  type_bytes(text);
  type_return();
}

void ConsoleWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    emit stop_asked();
    return;
  }
  const vozo::Key key = key_of(event->key());
  // Once the run is over only the keys that move about the text act.
  if (input_closed_ &&
      (key == vozo::Key::other || key == vozo::Key::insert || key == vozo::Key::del)) {
    event->ignore();
    return;
  }
  if (key != vozo::Key::other) {
    const bool along_line = key == vozo::Key::left || key == vozo::Key::right ||
                            key == vozo::Key::home || key == vozo::Key::end;
    if (along_line && (event->modifiers() & Qt::ShiftModifier)) {
      state_->extend_selection(key);
    } else {
      state_->on_key(key);
    }
    return;
  }
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      type_return();
      return;
    case Qt::Key_Backspace:
      state_->on_char(vozo::code_backspace);
      return;
    case Qt::Key_Tab:
      state_->on_char(vozo::code_tab);
      return;
    default:
      break;
  }
  // Control and Alt combinations are commands (menus, shortcuts), never typed text; an
  // AltGr character arrives without them.
  const Qt::KeyboardModifiers mods = event->modifiers();
  if (mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
    event->ignore();
    return;
  }
  // The text of the key, as UTF-8. Control characters never enter the line: only the
  // keys above act.
  std::string typed;
  for (const char c : event->text().toUtf8()) {
    const auto code = static_cast<uint8_t>(c);
    if (code >= 0x20 && code != 0x7F) typed += c;
  }
  if (!typed.empty()) state_->type_text(typed);
}

void ConsoleWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  setFocus(Qt::MouseFocusReason);
  state_->mouse_press();
}

void ConsoleWindow::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  state_->mouse_move(p.x(), p.y(), (event->buttons() & Qt::LeftButton) != 0);
}

void ConsoleWindow::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  state_->mouse_release();
}

void ConsoleWindow::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint p = event->position().toPoint();
  state_->double_click(p.x(), p.y());
}

void ConsoleWindow::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  invalidate_cells(caret_.x(), caret_.y(), 1, 1);
}

void ConsoleWindow::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  invalidate_cells(caret_.x(), caret_.y(), 1, 1);
}

// Tab is a character of the console, not a move to the next widget.
bool ConsoleWindow::focusNextPrevChild(bool) {
  return false;
}

// The bars never move the contents by themselves: every request goes through the state.
void ConsoleWindow::scrollContentsBy(int, int) {}

void ConsoleWindow::scroll_action(Qt::Orientation orientation, int action) {
  if (setting_bars_) return;
  QScrollBar* bar = orientation == Qt::Vertical ? verticalScrollBar() : horizontalScrollBar();
  const int32_t code = scroll_code(action, orientation);
  const int32_t thumb = bar->sliderPosition();
  if (orientation == Qt::Vertical) {
    state_->on_vscroll(code, thumb);
    bar->setSliderPosition(state_->top());
  } else {
    state_->on_hscroll(code, thumb);
    // While its thumb is dragged the horizontal bar follows the pointer; the text
    // moves when the thumb is let go.
    if (!bar->isSliderDown()) bar->setSliderPosition(state_->horizontal_pos());
  }
}

void ConsoleWindow::scroll_released(Qt::Orientation orientation) {
  if (orientation != Qt::Horizontal) return;
  QScrollBar* bar = horizontalScrollBar();
  state_->on_hscroll(vozo::SB_THUMBPOSITION, bar->sliderPosition());
  bar->setSliderPosition(state_->horizontal_pos());
}

// ---- commands -------------------------------------------------------------------------

void ConsoleWindow::sync_title() {
  const QString title = QString::fromStdString(document_->title());
  setWindowTitle(title);
  if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) sub->setWindowTitle(title);
}

bool ConsoleWindow::copy_selection() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr) return false;
  // The letters as shown: the UTF-8 text typed, a stray byte as its Latin-1 letter.
  clipboard->setText(shown_text(state_->selection_text()));
  return true;
}

void ConsoleWindow::save(bool ask_path) {
  if (ask_path) {
    vozo::command_save_as(*document_, dialogs(), save_directory_);
  } else {
    vozo::command_save(*document_, dialogs(), save_directory_);
  }
  enable_menu_item(vozo::IDM_SAVE, document_->modified());
  sync_title();
}

void ConsoleWindow::apply_font(const QFont& font) {
  font_ = font;
  ascent_ = QFontMetrics(font_).ascent();
  const QSize cell = cell_size(font_);
  whole_advance_ = QFontMetricsF(font_).horizontalAdvance(QLatin1Char('M')) == cell.width();
  state_->change_font(cell.width(), cell.height(), viewport()->width(), viewport()->height());
}

void ConsoleWindow::command(int32_t id) {
  switch (id) {
    case vozo::IDM_SAVE:
      save(false);
      return;
    case vozo::IDM_SAVEAS:
      save(true);
      return;
    case vozo::IDM_PRINT:
      print_console(*this);
      return;
    case vozo::IDM_CUT:
      if (copy_selection()) {
        state_->delete_selection();
        state_->clipboard_stored();
      }
      return;
    case vozo::IDM_COPY:
      if (copy_selection()) state_->clipboard_stored();
      return;
    case vozo::IDM_PASTE: {
      QClipboard* clipboard = QGuiApplication::clipboard();
      if (clipboard == nullptr) return;
      const QByteArray bytes = clipboard->text().toUtf8();
      if (!bytes.isEmpty()) paste_text(std::string_view(bytes.constData(), bytes.size()));
      return;
    }
    case vozo::IDM_DELETE:
      state_->delete_selection();
      return;
    case vozo::IDM_FONT: {
      QFont font = font_;
      if (dialogs().choose_font(font)) apply_font(font);
      return;
    }
    case vozo::IDM_COLOR: {
      QColor color = text_color();
      if (dialogs().choose_color(color)) {
        state_->set_text_color(static_cast<uint32_t>(color.rgb()) & 0xFFFFFFu);
      }
      return;
    }
    default:
      return;
  }
}

bool ConsoleWindow::confirm_close() {
  if (!close_confirmed_) {
    close_confirmed_ =
        vozo::close_prompt(*document_, dialogs(), save_directory_) == vozo::CloseDecision::close;
  }
  return close_confirmed_;
}

void ConsoleWindow::closeEvent(QCloseEvent* event) {
  if (closed_) {
    event->accept();
    return;
  }
  if (!confirm_close()) {
    event->ignore();
    return;
  }
  closed_ = true;
  event->accept();
  emit closed(this);
}

}  // namespace vozo_qt
