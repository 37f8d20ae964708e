// SPDX-License-Identifier: GPL-3.0-or-later
// The status-bar tip of each menu item, the frame's own and the program's, found by the
// item's text as the menu shows it (mnemonic marks, the accelerator after a tab and a
// closing "..." do not count).
#pragma once

#include <string>
#include <string_view>

namespace desktop {

// The item's text without mnemonic marks ("&&" stays one "&"), accelerator and "...".
std::string plain_item_text(std::string_view text);

// The tip of an item, or empty when the item is not known. The Window menu's list of
// open windows ("&2 Stereonet") gets a tip naming the window.
std::string menu_tip(std::string_view item_text);

}  // namespace desktop
