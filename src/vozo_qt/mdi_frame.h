// SPDX-License-Identifier: GPL-3.0-or-later
// The multiple-document frame: menus and accelerators, the client area holding the
// console and graphics children, window arrangement and the Exit sequence.
#pragma once

#include <QHash>
#include <QMainWindow>
#include <cstdint>
#include <functional>
#include <utility>

#include "vozo/menu_ids.h"
#include "vozo_qt/child_window.h"

class QAction;
class QLabel;
class QMdiArea;
class QProgressBar;
class QMdiSubWindow;
class QMenu;

namespace vozo_qt {

class Frame : public QMainWindow {
  Q_OBJECT

 public:
  explicit Frame(const QString& title, QWidget* parent = nullptr);
  ~Frame() override;

  QMdiArea* client() const { return mdi_; }

  // A menu command, as chosen from the menu or sent by an accelerator.
  void command(int32_t id);

  // Menu items of the frame, shared by every child (a console grays Save, Cut, ...).
  QAction* action(int32_t id) const { return actions_.value(id); }
  // Slot: children report the state of the items they own.
  void set_item_enabled(int32_t id, bool enabled);
  bool item_enabled(int32_t id) const;
  // The top-level menus in menu-bar order (File, Edit, Format, Window, and any the
  // program added).
  QList<QMenu*> menus() const { return menus_; }
  // A program's own item: its command id is routed to its callback.
  void register_action(int32_t id, QAction* action);
  // Inserts a new top-level menu before the one at index (0-based), or last.
  QMenu* insert_menu(int index, const QString& title);

  // Adds a child at the given position and size (outer frame included); an empty
  // rectangle lets the client area choose, a rectangle at -1, -1 only sets the size.
  QMdiSubWindow* add_child(QWidget* child, const QString& title, const QRect& geometry);
  // The open children in creation order, as the Window menu lists them.
  QList<QMdiSubWindow*> children() const;
  QMdiSubWindow* active_subwindow() const;
  // The Window menu's list of children (after its separator).
  QList<QAction*> window_list_actions() const { return child_actions_; }

  // Asked before the Exit sequence begins (a run going, say): false keeps the frame as
  // it is.
  void set_exit_check(std::function<bool()> check) { exit_check_ = std::move(check); }

  // Whether the Exit sequence has ended the frame.
  bool exited() const { return exited_; }

  // The status bar: how far the run has come (a count of total in the bar), or a
  // message once it is over.
  void show_progress(const QString& text, int32_t done, int32_t total);
  void show_status(const QString& text);
  // A notice that stays in the status bar beside the run's progress and messages.
  void show_notice(const QString& text);
  QString notice_text() const;
  QString status_text() const;
  bool progress_visible() const;
  // The computation ended: the progress goes, the consoles show the usual pointer.
  void computation_ended();
  // The busy pointer over the consoles while the computation works.
  void set_busy(bool busy);

 signals:
  // Sent first thing in the destructor, while the frame is still whole: helpers that
  // live on it (its QObject children) stop calling it from here on.
  void going();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  class ExitAdapter;

  void build_menus();
  void rebuild_window_list();
  void cascade();
  void keep_inside_area(QMdiSubWindow* sub) const;
  void tile(Qt::Orientation orientation);
  void arrange_icons();
  void run_user_item(int32_t id);
  void end_frame();

  QMdiArea* mdi_ = nullptr;
  QMenu* window_menu_ = nullptr;
  QList<QMenu*> menus_;
  QHash<int32_t, QAction*> actions_;
  QList<QAction*> child_actions_;
  QLabel* status_ = nullptr;
  QLabel* notice_ = nullptr;
  QProgressBar* progress_ = nullptr;
  bool busy_ = false;
  bool in_close_event_ = false;
  bool exited_ = false;
  std::function<bool()> exit_check_;
};

}  // namespace vozo_qt
