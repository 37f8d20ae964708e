// SPDX-License-Identifier: GPL-3.0-or-later
#include "vozo/arrangement.h"
#include "vozo/exit_sequence.h"
#include "vozo/menus.h"
#include "vozo/program_menu.h"
#include "vozo/timer_slots.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>
#include <vector>

namespace vozo {
namespace {

// A frame whose children answer the close request from a script.
class ScriptedFrame : public ExitHost {
 public:
  struct Child {
    std::string name;
    bool keeps;  // the user cancels its save prompt
  };
  int32_t open_window_count() override { return static_cast<int32_t>(children.size()); }
  bool has_active_child() override { return active && !children.empty(); }
  bool close_active_child() override { return close(children.size() - 1); }
  CloseResult close_some_child() override {
    if (children.empty()) return CloseResult::none_left;
    return close(0) ? CloseResult::closed : CloseResult::kept;
  }
  void destroy_frame() override { log.push_back("destroy"); }
  bool computation_ended() override { return ended; }
  void stop_computation() override { log.push_back("stop"); }

  bool close(size_t index) {
    const Child child = children[index];
    log.push_back("close " + child.name);
    if (child.keeps) return false;
    children.erase(children.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
  }

  std::vector<Child> children;
  bool active = true;
  bool ended = false;
  std::vector<std::string> log;
};

TEST(ExitSequence, ClosesEveryChildThenEndsFrameAndComputation) {
  ScriptedFrame frame;
  frame.children = {{"Input/Output", false}, {"unit7", false}};
  EXPECT_EQ(run_exit_sequence(frame), ExitResult::quit);
  EXPECT_EQ(frame.log,
            (std::vector<std::string>{"close unit7", "close Input/Output", "destroy", "stop"}));
}

TEST(ExitSequence, CancelKeepsTheRestOpenAndTheComputationRunning) {
  ScriptedFrame frame;
  frame.children = {{"Input/Output", true}, {"unit7", false}};
  EXPECT_EQ(run_exit_sequence(frame), ExitResult::cancelled);
  EXPECT_EQ(frame.log, (std::vector<std::string>{"close unit7", "close Input/Output"}));
  EXPECT_EQ(frame.children.size(), 1u);
}

TEST(ExitSequence, ChildrenWithoutAnActiveOneAreClosedInTurn) {
  ScriptedFrame frame;
  frame.active = false;
  frame.children = {{"a", false}, {"b", false}, {"c", false}};
  EXPECT_EQ(run_exit_sequence(frame), ExitResult::quit);
  EXPECT_EQ(frame.log,
            (std::vector<std::string>{"close a", "close b", "close c", "destroy", "stop"}));
  frame.log.clear();
  frame.children = {{"a", false}, {"b", true}};
  EXPECT_EQ(run_exit_sequence(frame), ExitResult::cancelled);
  EXPECT_EQ(frame.log, (std::vector<std::string>{"close a", "close b"}));
}

TEST(ExitSequence, AfterTheComputationStoppedOnlyTheFrameEnds) {
  ScriptedFrame frame;
  frame.ended = true;
  EXPECT_EQ(run_exit_sequence(frame), ExitResult::quit);
  EXPECT_EQ(frame.log, (std::vector<std::string>{"destroy"}));
}

TEST(ExitSequence, ACountThatNeverFallsDoesNotLoopForever) {
  struct Stuck : ScriptedFrame {
    int32_t open_window_count() override { return 1; }
    bool has_active_child() override { return true; }
    bool close_active_child() override { return true; }
  } frame;
  EXPECT_EQ(run_exit_sequence(frame), ExitResult::quit);
}

// Cascaded children keep most of the client area; the run of title-bar steps starts
// again at the corner once it has taken a third of the height.
TEST(Cascade, ChildrenStepDownAndKeepMostOfTheClientArea) {
  struct Case {
    int32_t index, width, height, step;
    int32_t x, y, w, h;
  };
  const Case cases[] = {
      {0, 900, 600, 20, 0, 0, 700, 400},       // 10 steps of 20 kept for the run
      {3, 900, 600, 20, 60, 60, 700, 400},     //
      {10, 900, 600, 20, 200, 200, 700, 400},  // the last step still fits below
      {11, 900, 600, 20, 0, 0, 700, 400},      // and the run starts again
      {2, 50, 40, 20, 0, 0, 50, 40},           // no room for a step: all fill the area
      {1, 300, 600, 0, 0, 0, 300, 600},        // no title bar height known
      {0, 100, 600, 20, 0, 0, 1, 400},         // never narrower than one pixel
  };
  for (const Case& c : cases) {
    const ChildRect r = cascade_rect(c.index, c.width, c.height, c.step);
    EXPECT_EQ(r.x, c.x) << c.index << " in " << c.width << "x" << c.height;
    EXPECT_EQ(r.y, c.y) << c.index << " in " << c.width << "x" << c.height;
    EXPECT_EQ(r.width, c.w) << c.index << " in " << c.width << "x" << c.height;
    EXPECT_EQ(r.height, c.h) << c.index << " in " << c.width << "x" << c.height;
  }
}

TEST(CommandRouting, FrameCommandsUserItemsAndChildren) {
  struct Case {
    int32_t id;
    CommandRoute route;
  };
  const Case cases[] = {
      {502, CommandRoute::browse},
      {520, CommandRoute::about},
      {530, CommandRoute::exit},
      {702, CommandRoute::cascade},
      {701, CommandRoute::tile_horizontally},
      {700, CommandRoute::tile_vertically},
      {703, CommandRoute::arrange_icons},
      {500, CommandRoute::child_command},
      {612, CommandRoute::child_command},
      {600, CommandRoute::child_command},
      {800, CommandRoute::user_item},
      {802, CommandRoute::user_item},
      {803, CommandRoute::child_command},  // not yet handed out
      {100, CommandRoute::child_activate},
      {499, CommandRoute::child_activate},
      {0xF060, CommandRoute::system},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(route_command(c.id, 803), c.route);
  }
}

TEST(MenuTables, EveryAcceleratorNamesAMenuItemAndEveryItemHasItsOwnMnemonic) {
  std::set<int32_t> ids;
  for (const MenuEntry& menu : main_menu()) {
    std::set<char> letters;
    for (const MenuItemEntry& item : menu.items) {
      if (item.id == 0) continue;
      EXPECT_TRUE(ids.insert(item.id).second) << item.id;
      const std::size_t amp = item.text.find('&');
      ASSERT_LT(amp + 1, item.text.size()) << item.text;
      EXPECT_TRUE(letters.insert(static_cast<char>(std::tolower(item.text[amp + 1]))).second)
          << menu.title << ": " << item.text;
    }
  }
  EXPECT_EQ(ids.size(), 17u);
  for (const AcceleratorEntry& accelerator : accelerators()) {
    EXPECT_TRUE(ids.count(accelerator.id)) << accelerator.key_text;
  }
  EXPECT_EQ(main_menu()[window_menu_index].title, "&Window");
}

TEST(WindowCountTest, TheHundredthConsoleIsOneTooMany) {
  WindowCount count;
  for (int i = 1; i <= 99; ++i) ASSERT_TRUE(count.opened()) << i;
  EXPECT_FALSE(count.opened());
  count.closed();
  count.closed();
  EXPECT_EQ(count.open(), 98);
}

int32_t last_checked = -1;
int32_t calls_a = 0;
int32_t calls_b = 0;
void record_checked(int32_t& checked) {
  last_checked = checked;
}
void timer_a() {
  ++calls_a;
}
void timer_b() {
  ++calls_b;
}

TEST(UserMenus, IdsFrom800UntilTheTableIsFull) {
  UserMenuTable table;
  EXPECT_EQ(table.add(record_checked), 800);
  EXPECT_EQ(table.add(nullptr), 801);
  int32_t checked = 1;
  EXPECT_TRUE(table.dispatch(800, checked));
  EXPECT_EQ(last_checked, 1);
  EXPECT_FALSE(table.dispatch(801, checked));  // no callback stored
  EXPECT_FALSE(table.dispatch(802, checked));  // not handed out
  for (int32_t id = 802; id <= 1299; ++id) ASSERT_EQ(table.add(record_checked), id);
  EXPECT_EQ(table.add(record_checked), 0);
  EXPECT_EQ(table.next_id(), 1300);
}

TEST(Timers, HundredSlotsFreedByStop) {
  TimerSlots timers;
  EXPECT_FALSE(timers.start(0, timer_a));
  for (int32_t id = 1; id <= 100; ++id) ASSERT_TRUE(timers.start(id, id == 42 ? timer_b : timer_a));
  EXPECT_FALSE(timers.start(101, timer_a));
  EXPECT_EQ(timers.count(), 100);
  timers.fire(42);
  EXPECT_EQ(calls_b, 1);
  EXPECT_EQ(calls_a, 0);
  EXPECT_TRUE(timers.start(42, timer_a));  // a running id gets the new callback
  EXPECT_EQ(timers.count(), 100);
  timers.stop(7);
  EXPECT_EQ(timers.count(), 99);
  timers.fire(7);
  EXPECT_EQ(calls_a, 0);
  EXPECT_TRUE(timers.start(101, timer_a));
  timers.fire(101);
  timers.fire(42);
  EXPECT_EQ(calls_a, 2);
  EXPECT_EQ(calls_b, 1);
}

}  // namespace
}  // namespace vozo
