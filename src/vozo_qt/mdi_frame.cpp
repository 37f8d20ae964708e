// SPDX-License-Identifier: GPL-3.0-or-later
#include "vozo_qt/mdi_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>
#include <QStyle>
#include <algorithm>

#include "vozo/arrangement.h"
#include "vozo/exit_sequence.h"
#include "vozo/menus.h"
#include "vozo_qt/browse_command.h"
#include "vozo_qt/console_hooks.h"
#include "vozo_qt/console_window.h"
#include "vozo_qt/dialog_provider.h"
#include "vozo_qt/environment.h"

namespace vozo_qt {
namespace {

QString text_of(std::string_view s) {
  return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

// The Exit sequence's view of this frame.
class Frame::ExitAdapter final : public vozo::ExitHost {
 public:
  explicit ExitAdapter(Frame& frame) : frame_(frame) {}

  int32_t open_window_count() override { return env().windows.open(); }
  bool has_active_child() override { return frame_.active_subwindow() != nullptr; }
  bool close_active_child() override { return close(frame_.active_subwindow()); }
  CloseResult close_some_child() override {
    const QList<QMdiSubWindow*> list = frame_.children();
    if (list.isEmpty()) return CloseResult::none_left;
    return close(list.first()) ? CloseResult::closed : CloseResult::kept;
  }
  void destroy_frame() override { frame_.end_frame(); }
  bool computation_ended() override {
    return env().end.ended() || (env().bridge != nullptr && env().bridge->ended());
  }
  // The computation stops itself at its next hook or progress report.
  void stop_computation() override { request_stop(); }

 private:
  static bool close(QMdiSubWindow* sub) {
    if (sub == nullptr) return true;
    auto* child = dynamic_cast<ChildWindow*>(sub->widget());
    if (child != nullptr && !child->confirm_close()) return false;
    sub->close();
    // A child that refused without saying so counts as kept, or Exit would ask forever.
    return sub->isHidden();
  }

  Frame& frame_;
};

Frame::Frame(const QString& title, QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(title);
  mdi_ = new QMdiArea(this);
  mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(mdi_);
  build_menus();
  status_ = new QLabel(this);
  progress_ = new QProgressBar(this);
  progress_->setMaximumWidth(240);
  progress_->setTextVisible(true);
  progress_->hide();
  notice_ = new QLabel(this);
  notice_->hide();
  statusBar()->addWidget(status_, 1);
  statusBar()->addWidget(notice_);
  statusBar()->addPermanentWidget(progress_);
  resize(800, 600);
}

void Frame::show_progress(const QString& text, int32_t done, int32_t total) {
  status_->setText(text);
  progress_->setRange(0, std::max(1, total));
  progress_->setValue(std::clamp(done, 0, std::max(1, total)));
  progress_->show();
}

void Frame::show_status(const QString& text) {
  progress_->hide();
  status_->setText(text);
}

void Frame::show_notice(const QString& text) {
  notice_->setText(text);
  notice_->show();
}

QString Frame::notice_text() const {
  return notice_->text();
}

QString Frame::status_text() const {
  return status_->text();
}

bool Frame::progress_visible() const {
  return progress_->isVisible();
}

void Frame::computation_ended() {
  progress_->hide();
  set_busy(false);
}

void Frame::set_busy(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  for (QMdiSubWindow* sub : mdi_->subWindowList()) {
    if (auto* console = qobject_cast<ConsoleWindow*>(sub->widget())) {
      console->viewport()->setCursor(busy ? Qt::BusyCursor : Qt::IBeamCursor);
    }
  }
}

// The children go with the client area after this body has run; the client must not
// report their activation to a frame whose members are already gone.
Frame::~Frame() {
  emit going();
  disconnect(mdi_, nullptr, this, nullptr);
}

void Frame::build_menus() {
  QHash<int32_t, QKeySequence> shortcuts;
  for (const vozo::AcceleratorEntry& a : vozo::accelerators()) {
    shortcuts.insert(a.id, QKeySequence::fromString(text_of(a.key_text)));
  }
  const auto table = vozo::main_menu();
  for (std::size_t m = 0; m < table.size(); ++m) {
    QMenu* menu = menuBar()->addMenu(text_of(table[m].title));
    for (const vozo::MenuItemEntry& item : table[m].items) {
      if (item.id == 0) {
        menu->addSeparator();
        continue;
      }
      // The text after the tab names the accelerator; the action shows its own.
      const QString text = text_of(item.text).section(QLatin1Char('\t'), 0, 0);
      QAction* action = menu->addAction(text);
      if (shortcuts.contains(item.id)) {
        action->setShortcut(shortcuts.value(item.id));
        // The accelerators belong to the whole frame, whichever child has the focus.
        action->setShortcutContext(Qt::WindowShortcut);
      }
      const int32_t id = item.id;
      connect(action, &QAction::triggered, this, [this, id] { command(id); });
      actions_.insert(id, action);
    }
    menus_.append(menu);
  }
  window_menu_ = menus_.value(vozo::window_menu_index);
  // F10 opens the menu bar at its first menu, whichever child has the focus.
  auto* to_menus = new QAction(this);
  to_menus->setShortcut(QKeySequence(Qt::Key_F10));
  to_menus->setShortcutContext(Qt::WindowShortcut);
  connect(to_menus, &QAction::triggered, this, [this] {
    if (!menus_.isEmpty()) menuBar()->setActiveAction(menus_.first()->menuAction());
  });
  addAction(to_menus);
  // Browse answers a file question: none is asked before the run begins.
  set_item_enabled(vozo::IDM_BROWSE, false);
  if (window_menu_ != nullptr) {
    connect(window_menu_, &QMenu::aboutToShow, this, &Frame::rebuild_window_list);
  }
  connect(mdi_, &QMdiArea::subWindowActivated, this, &Frame::rebuild_window_list);
}

void Frame::register_action(int32_t id, QAction* action) {
  actions_.insert(id, action);
  connect(action, &QAction::triggered, this, [this, id, action] {
    // Choosing an item does not tick it: only the program checks and unchecks its items.
    if (action->isCheckable()) action->setChecked(!action->isChecked());
    command(id);
  });
}

QMenu* Frame::insert_menu(int index, const QString& title) {
  auto* menu = new QMenu(title, this);
  if (index >= 0 && index < menus_.size()) {
    menuBar()->insertMenu(menus_[index]->menuAction(), menu);
    menus_.insert(index, menu);
  } else {
    menuBar()->addMenu(menu);
    menus_.append(menu);
  }
  return menu;
}

void Frame::set_item_enabled(int32_t id, bool enabled) {
  if (QAction* a = actions_.value(id)) a->setEnabled(enabled);
}

bool Frame::item_enabled(int32_t id) const {
  const QAction* a = actions_.value(id);
  return a != nullptr && a->isEnabled();
}

// The area puts a child it places itself where it overlaps the others least, which can be
// partly beyond the visible area; such a child is moved back into view (and made smaller if
// the area is smaller than it).
void Frame::keep_inside_area(QMdiSubWindow* sub) const {
  const QSize area = mdi_->viewport()->size();
  if (area.isEmpty()) return;
  QRect r = sub->geometry();
  r.setSize(r.size().boundedTo(area));
  r.moveLeft(std::clamp(r.x(), 0, area.width() - r.width()));
  r.moveTop(std::clamp(r.y(), 0, area.height() - r.height()));
  if (r != sub->geometry()) sub->setGeometry(r);
}

QMdiSubWindow* Frame::add_child(QWidget* child, const QString& title, const QRect& geometry) {
  QMdiSubWindow* sub = mdi_->addSubWindow(child);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  sub->setWindowTitle(title);
  if (!geometry.isEmpty()) {
    if (geometry.x() < 0 || geometry.y() < 0) {
      sub->resize(geometry.size());
    } else {
      sub->setGeometry(geometry);
    }
  }
  sub->show();
  if (!geometry.isEmpty() && (geometry.x() < 0 || geometry.y() < 0)) keep_inside_area(sub);
  mdi_->setActiveSubWindow(sub);
  child->setFocus();
  rebuild_window_list();
  return sub;
}

QList<QMdiSubWindow*> Frame::children() const {
  QList<QMdiSubWindow*> open;
  for (QMdiSubWindow* sub : mdi_->subWindowList(QMdiArea::CreationOrder)) {
    // A closed child stays listed until its deferred deletion; it no longer counts.
    if (!sub->isHidden()) open.append(sub);
  }
  return open;
}

QMdiSubWindow* Frame::active_subwindow() const {
  QMdiSubWindow* sub = mdi_->currentSubWindow();
  return sub != nullptr && !sub->isHidden() ? sub : nullptr;
}

void Frame::rebuild_window_list() {
  if (window_menu_ == nullptr) return;
  for (QAction* a : child_actions_) {
    window_menu_->removeAction(a);
    delete a;
  }
  child_actions_.clear();
  const QList<QMdiSubWindow*> list = children();
  if (list.isEmpty()) return;
  child_actions_.append(window_menu_->addSeparator());
  QMdiSubWindow* current = mdi_->currentSubWindow();
  for (int i = 0; i < list.size(); ++i) {
    QMdiSubWindow* sub = list[i];
    // An ampersand in a title (a file saved as "R&D.txt") is text, not a mnemonic.
    const QString title =
        QString(sub->windowTitle()).replace(QLatin1Char('&'), QStringLiteral("&&"));
    const QString text = i < 9 ? QStringLiteral("&%1 %2").arg(i + 1).arg(title)
                               : QStringLiteral("%1 %2").arg(i + 1).arg(title);
    QAction* a = window_menu_->addAction(text);
    a->setCheckable(true);
    a->setChecked(sub == current);
    const int32_t id = vozo::first_child_window_id + i;
    connect(a, &QAction::triggered, this, [this, id] { command(id); });
    child_actions_.append(a);
  }
}

void Frame::command(int32_t id) {
  switch (vozo::route_command(id, env().user_menu.next_id())) {
    case vozo::CommandRoute::browse:
      browse_for_answer();
      return;
    case vozo::CommandRoute::about:
      dialogs().about();
      return;
    case vozo::CommandRoute::exit: {
      if (exit_check_ && !exited_ && !exit_check_()) return;
      ExitAdapter host(*this);
      vozo::run_exit_sequence(host);
      return;
    }
    case vozo::CommandRoute::cascade:
      cascade();
      return;
    case vozo::CommandRoute::tile_horizontally:
      tile(Qt::Horizontal);
      return;
    case vozo::CommandRoute::tile_vertically:
      tile(Qt::Vertical);
      return;
    case vozo::CommandRoute::arrange_icons:
      arrange_icons();
      return;
    case vozo::CommandRoute::user_item:
      run_user_item(id);
      return;
    case vozo::CommandRoute::child_command:
      if (QMdiSubWindow* sub = active_subwindow()) {
        if (auto* child = dynamic_cast<ChildWindow*>(sub->widget())) child->command(id);
      }
      return;
    case vozo::CommandRoute::child_activate: {
      const QList<QMdiSubWindow*> list = children();
      const int32_t index = id - vozo::first_child_window_id;
      if (index >= 0 && index < list.size()) {
        QMdiSubWindow* sub = list[index];
        if (sub->isMinimized()) sub->showNormal();
        mdi_->setActiveSubWindow(sub);
      }
      return;
    }
    case vozo::CommandRoute::system:
      return;
  }
}

void Frame::run_user_item(int32_t id) {
  const QAction* a = actions_.value(id);
  int32_t checked = a != nullptr && a->isChecked() ? 1 : 0;
  env().user_menu.dispatch(id, checked);
}

// The active child ends in front; minimised children stay put.
void Frame::cascade() {
  QMdiSubWindow* active = active_subwindow();
  QList<QMdiSubWindow*> list;
  for (QMdiSubWindow* sub : children()) {
    if (!sub->isMinimized() && sub != active) list.append(sub);
  }
  if (active != nullptr && !active->isMinimized()) list.append(active);
  if (list.isEmpty()) return;
  const QRect area = mdi_->viewport()->rect();
  const int32_t step =
      list.first()->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, list.first());
  for (int i = 0; i < list.size(); ++i) {
    QMdiSubWindow* sub = list[i];
    if (sub->isMaximized()) sub->showNormal();
    const vozo::ChildRect r = vozo::cascade_rect(i, area.width(), area.height(), step);
    sub->setGeometry(r.x, r.y, r.width, r.height);
    sub->raise();
  }
}

// Horizontal tiling stacks the children one above the other, each as wide as the
// client area; vertical tiling sets them side by side. Minimised children stay put.
void Frame::tile(Qt::Orientation orientation) {
  QList<QMdiSubWindow*> list;
  for (QMdiSubWindow* sub : children()) {
    if (!sub->isMinimized()) list.append(sub);
  }
  if (list.isEmpty()) return;
  const QRect area = mdi_->viewport()->rect();
  const int n = static_cast<int>(list.size());
  for (int i = 0; i < n; ++i) {
    QMdiSubWindow* sub = list[i];
    if (sub->isMaximized()) sub->showNormal();
    if (orientation == Qt::Horizontal) {
      const int top = area.height() * i / n;
      const int bottom = area.height() * (i + 1) / n;
      sub->setGeometry(0, top, area.width(), bottom - top);
    } else {
      const int left = area.width() * i / n;
      const int right = area.width() * (i + 1) / n;
      sub->setGeometry(left, 0, right - left, area.height());
    }
  }
}

// Lines the minimised children up along the bottom edge, left to right.
void Frame::arrange_icons() {
  const QRect area = mdi_->viewport()->rect();
  int x = 0;
  int y = area.height();
  for (QMdiSubWindow* sub : children()) {
    if (!sub->isMinimized()) continue;
    const QSize size = sub->size();
    if (x > 0 && x + size.width() > area.width()) {
      x = 0;
      y -= size.height();
    }
    sub->move(x, y - size.height());
    x += size.width();
  }
}

void Frame::end_frame() {
  if (exited_) return;
  exited_ = true;
  request_quit();
  if (!in_close_event_) hide();
}

void Frame::closeEvent(QCloseEvent* event) {
  if (exited_) {
    event->accept();
    return;
  }
  in_close_event_ = true;
  command(vozo::IDM_EXIT);
  in_close_event_ = false;
  if (exited_) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace vozo_qt
