// SPDX-License-Identifier: GPL-3.0-or-later
#include "gral/banners.h"

#include <string>

#include "gral/formats.h"
#include "gral/initsio.h"
#include "recfmt/items.h"
#include "recfmt/statements.h"

namespace gral {

namespace {

constexpr std::string_view at_rule = "@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@";
constexpr std::string_view equals_rule = "@==========================================";
constexpr std::string_view asterisk_rule = "*******************************************";
constexpr std::string_view slash_rule = "///////////////////////////////////////////";

// The routine's name as the error and warning banners show it: "subroutine" starting in
// column 8 of a 35-character field, the name cut to what is left.
recfmt::Text<35> banner_name(std::string_view progname) {
  std::string text = "       subroutine ";
  text.append(progname);
  return recfmt::Text<35>(text);
}

// Common ending of the error and warning banners: the optional pause, then the closing rule.
void pause_and_close(std::string_view closing_rule) {
  const Ciocom& c = ciocom();
  if (c.lcrerr.value != 0) {
    for (;;) {
      recfmt::write(c.itoer, formats::banner_line,
                    {c.locom.value != 0 ? "===> HIT RETURN TO RESUME COMMANDS"
                                        : "===> HIT RETURN TO CONTINUE"});
      recfmt::Text<1> reply;
      if (recfmt::read_checked(c.itier, formats::reply, {reply})) break;
    }
  }
  recfmt::write(c.itoer, formats::banner_line, {closing_rule});
}

}  // namespace

void submenuhead(std::string_view progname, std::string_view /*version*/,
                 std::string_view /*date*/) {
  const int32_t ito = ciocom().ito;
  recfmt::write(ito, formats::banner_line, {at_rule});
  recfmt::write(ito, formats::banner_line, {"@ subroutine", progname});
  recfmt::write(ito, formats::banner_line, {equals_rule});
}

void menutail() {
  recfmt::write(ciocom().ito, formats::banner_line, {at_rule});
}

void errorhead(std::string_view progname, std::string_view /*version*/, std::string_view /*date*/) {
  const int32_t itoer = ciocom().itoer;
  const recfmt::Text<35> name = banner_name(progname);
  const recfmt::Text<35> blank;
  const recfmt::Text<35> word("               ERROR               ");
  recfmt::write(itoer, formats::error_rule);
  recfmt::write(itoer, formats::error_rule);
  recfmt::write(itoer, formats::error_text, {blank});
  recfmt::write(itoer, formats::error_text, {name});
  recfmt::write(itoer, formats::error_text, {blank});
  recfmt::write(itoer, formats::error_text, {word});
  recfmt::write(itoer, formats::error_text, {blank});
  recfmt::write(itoer, formats::error_rule);
  recfmt::write(itoer, formats::error_rule);
}

void errortail00() {
  pause_and_close(asterisk_rule);
}

void warninghead(std::string_view progname, std::string_view /*version*/,
                 std::string_view /*date*/) {
  const int32_t itoer = ciocom().itoer;
  const recfmt::Text<35> name = banner_name(progname);
  const recfmt::Text<35> word("              WARNING              ");
  recfmt::write(itoer, formats::warning_rule);
  recfmt::write(itoer, formats::warning_text, {name});
  recfmt::write(itoer, formats::warning_text, {word});
  recfmt::write(itoer, formats::warning_rule);
}

void warningtail00() {
  pause_and_close(slash_rule);
}

}  // namespace gral
