// SPDX-License-Identifier: GPL-3.0-or-later
// Operations the framework offers to a program: its own menu items with callbacks,
// timers, and clearing a console. Menu positions count from 1, as the program sees
// them; flags are the window system's menu flags.
#pragma once

#include <cstdint>
#include <string_view>

#include "vozo/program_menu.h"
#include "vozo/timer_slots.h"

namespace vozo_qt {

inline constexpr uint32_t MF_GRAYED = 0x0001;
inline constexpr uint32_t MF_DISABLED = 0x0002;
inline constexpr uint32_t MF_CHECKED = 0x0008;
inline constexpr uint32_t MF_POPUP = 0x0010;
inline constexpr uint32_t MF_BYPOSITION = 0x0400;
inline constexpr uint32_t MF_SEPARATOR = 0x0800;

// Appends an item with the next program command id to top-level menu p.
bool AddMenuItem(int32_t p, uint32_t flags, std::string_view text, vozo::MenuCallback callback);
// q >= 1: inserts an item with the next id into menu p before item q (by position, or
// before the item whose id is q when MF_BYPOSITION is absent). q = 0: a new top-level
// menu titled text, inserted before menu position p (counted from 0).
bool InsertMenuEntry(int32_t p, int32_t q, uint32_t flags, std::string_view text,
                     vozo::MenuCallback callback);
void CheckMenuItemAt(int32_t p, int32_t q, uint32_t flags);
void EnableMenuItemAt(int32_t p, int32_t q, uint32_t flags);
void DeleteMenuItemAt(int32_t p, int32_t q);

// Starts timer id calling callback every interval milliseconds: 1, or 0 when all 100
// slots are taken.
int32_t StartTimer(int32_t id, int32_t interval_ms, vozo::TimerCallback callback);
void StopTimer(int32_t id);

// Empties a console: a unit window for ids above 0, else the default console.
void ClearConsole(int32_t unit_id);

}  // namespace vozo_qt
