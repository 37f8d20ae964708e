// SPDX-License-Identifier: GPL-3.0-or-later
#include "gemino/header.h"

#include "gemino/formats.h"
#include "gral/clock.h"
#include "gral/formats.h"
#include "gral/hostname.h"
#include "gral/initsio.h"
#include "gral/textlen.h"
#include "recfmt/statements.h"

namespace gemino {

namespace {

constexpr std::string_view at_rule = "@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@";
constexpr std::string_view dash_rule = "@------------------------------------------";

// Who wrote and looks after the program, and where to reach them. The contact lines are
// 39 characters each.
constexpr std::string_view author = "Gemino maintainers";
constexpr std::string_view continuation = "@             ";
constexpr std::string_view contact_block[6] = {
    "@ Gemino maintainers                   ", "@ (institution)                        ",
    "@ (postal address)                     ", "@ (e-mail address)                     ",
    "@ (web address)                        ", "@ (web address, continued)             ",
};
constexpr std::string_view closing_words = "@ Report of any problem is appreciated ";

}  // namespace

void geminohead(const recfmt::Text<10>& progname, const recfmt::Text<10>& version,
                const recfmt::Text<10>& date) {
  recfmt::Text<25> host;
  gral::hostname(host.span());
  recfmt::Text<8> time_now;
  gral::c8time(time_now);
  recfmt::Text<10> date_now;
  gral::c10date(date_now);
  const std::string_view name = gral::nonblank(progname.view());

  const gral::Ciocom& c = gral::ciocom();
  const int32_t ito = c.ito;
  recfmt::write(ito, formats::header_line, {at_rule});
  recfmt::write(ito, formats::header_line, {"@"});
  recfmt::write(ito, formats::header_line, {"@       MAIN PROGRAM:", name});
  recfmt::write(ito, formats::header_line, {"@            Version:", version});
  recfmt::write(ito, formats::header_line, {"@               Date:", date});
  recfmt::write(ito, formats::header_line, {"@"});
  recfmt::write(ito, formats::header_line, {dash_rule});
  recfmt::write(ito, formats::header_line, {"@ Running on:", date_now, "at:", time_now});
  recfmt::write(ito, formats::header_line, {"@ On system:", gral::nonblank(host.view())});
  recfmt::write(ito, formats::header_line, {dash_rule});
  recfmt::write(ito, formats::header_line, {"@ Author     :", author});
  recfmt::write(ito, formats::header_line, {"@ Modified by:", "Gemino maintainers,"});
  recfmt::write(ito, formats::header_line, {continuation, "Gemino maintainers,"});
  recfmt::write(ito, formats::header_line, {continuation, author});
  recfmt::write(ito, formats::header_line, {"@ Contact    :", author});
  for (const std::string_view line : contact_block)
    recfmt::write(ito, formats::header_line, {line});
  recfmt::write(ito, formats::header_line, {closing_words});
  recfmt::write(ito, formats::header_line, {dash_rule});
  recfmt::write(ito, formats::header_line, {"@         HIT RETURN TO CONTINUE"});
  recfmt::write(ito, formats::header_line, {at_rule});

  // Whatever is typed before Return is ignored.
  recfmt::Text<10> reply;
  recfmt::read(c.iti, gral::formats::reply, {reply});
}

}  // namespace gemino
