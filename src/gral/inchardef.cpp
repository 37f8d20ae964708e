// SPDX-License-Identifier: GPL-3.0-or-later
#include "gral/inchardef.h"

#include <string>

#include "gral/banners.h"
#include "gral/formats.h"
#include "gral/initsio.h"
#include "gral/textlen.h"
#include "recfmt/items.h"
#include "recfmt/statements.h"

namespace gral {

namespace {

const recfmt::Text<11> routine_name("inchardef");
const recfmt::Text<4> routine_version("1.4");
const recfmt::Text<10> routine_date("08-03-2000");

constexpr std::string_view dotted_rule = "..........................................";

}  // namespace

namespace {

// Asks until the console gives a reply, which fills `reply` (blank padded).
void ask(std::span<char> reply, std::string_view name, std::string_view default_shown) {
  const Ciocom& c = ciocom();
  for (;;) {
    const bool more = c.lwito[1].value != 0;
    if (more) recfmt::write(c.ito, formats::prompt_line, {dotted_rule});
    recfmt::write(c.ito, formats::prompt_line, {"Enter", name});
    if (more) {
      recfmt::write(c.ito, formats::prompt_line, {"or return for default value"});
      recfmt::write(c.ito, formats::prompt_line, {"Default =", default_shown});
    }
    if (recfmt::read_checked(c.iti, formats::reply, {reply})) return;
    errorhead(routine_name.view(), routine_version.view(), routine_date.view());
    recfmt::write(c.ito, formats::prompt_line, {"could not read", name});
    recfmt::write(c.ito, formats::prompt_line, {"==> RETRYING"});
    errortail00();
  }
}

// Whether the reply asks for the default, said on the console when it does.
bool takes_default(char first) {
  if (first != '\n' && first != '\r' && first != ' ') return false;
  recfmt::write(
      ciocom().ito, formats::prompt_length,
      {"ichar =", static_cast<int32_t>(static_cast<unsigned char>(first)), "=> use default value"});
  return true;
}

void echo(std::string_view value) {
  const Ciocom& c = ciocom();
  recfmt::write(c.ito, formats::prompt_line, {"New value =", value});
  if (c.lwito[1].value != 0) recfmt::write(c.ito, formats::prompt_line, {dotted_rule});
}

}  // namespace

void inchardef(std::span<char> v, std::string_view vnam, std::string_view vdef, int32_t& ierr) {
  // vdef may be v itself: keep the default apart before v is touched.
  const std::string default_value(vdef);
  ierr = 0;
  recfmt::Text<80> reply;
  ask(reply.span(), nonblank(vnam), nonblank(default_value));
  recfmt::assign_text(v, takes_default(reply[0]) ? std::string_view(default_value) : reply.view());
  echo(std::string_view(v.data(), v.size()));
}

void inchardef(std::string& v, std::string_view vnam, std::string_view vdef, int32_t& ierr,
               std::size_t shown_width) {
  const std::string default_value(vdef);
  ierr = 0;
  // The whole reply, however long a path may be.
  std::string reply(reply_capacity, ' ');
  ask(reply, nonblank(vnam), nonblank(default_value));
  v = takes_default(reply[0]) ? default_value : reply;
  v.erase(v.find_last_not_of(' ') + 1);
  std::string shown = v;
  if (shown.size() < shown_width) shown.resize(shown_width, ' ');
  echo(shown);
}

}  // namespace gral
