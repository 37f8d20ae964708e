#include "gemino/header.h"

#include "gral/clock.h"
#include "gral/hostname.h"
#include "gral/initsio.h"
#include "gral/textlen.h"
#include "recfmt/format.h"
#include "recfmt/statements.h"

namespace gemino {

namespace {

const recfmt::Format fmt_10("(3(1x,a,1x,a))");
const recfmt::Format fmt_11("(a)");

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
  recfmt::write(ito, fmt_10, {at_rule});
  recfmt::write(ito, fmt_10, {"@"});
  recfmt::write(ito, fmt_10, {"@       MAIN PROGRAM:", name});
  recfmt::write(ito, fmt_10, {"@            Version:", version});
  recfmt::write(ito, fmt_10, {"@               Date:", date});
  recfmt::write(ito, fmt_10, {"@"});
  recfmt::write(ito, fmt_10, {dash_rule});
  recfmt::write(ito, fmt_10, {"@ Running on:", date_now, "at:", time_now});
  recfmt::write(ito, fmt_10, {"@ On system:", gral::nonblank(host.view())});
  recfmt::write(ito, fmt_10, {dash_rule});
  recfmt::write(ito, fmt_10, {"@ Author     :", author});
  recfmt::write(ito, fmt_10, {"@ Modified by:", "Gemino maintainers,"});
  recfmt::write(ito, fmt_10, {continuation, "Gemino maintainers,"});
  recfmt::write(ito, fmt_10, {continuation, author});
  recfmt::write(ito, fmt_10, {"@ Contact    :", author});
  for (const std::string_view line : contact_block) recfmt::write(ito, fmt_10, {line});
  recfmt::write(ito, fmt_10, {closing_words});
  recfmt::write(ito, fmt_10, {dash_rule});
  recfmt::write(ito, fmt_10, {"@         HIT RETURN TO CONTINUE"});
  recfmt::write(ito, fmt_10, {at_rule});

  // Whatever is typed before Return is ignored.
  recfmt::Text<10> reply;
  recfmt::read(c.iti, fmt_11, {reply});
}

}  // namespace gemino
