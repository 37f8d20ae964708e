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

void inchardef(std::span<char> v, std::string_view vnam, std::string_view vdef, int32_t& ierr) {
  const Ciocom& c = ciocom();
  const std::string_view name = nonblank(vnam);
  // vdef may be v itself: keep the default apart before v is touched.
  const std::string default_value(vdef);
  const std::string_view default_shown = nonblank(default_value);
  ierr = 0;

  recfmt::Text<80> reply;
  for (;;) {
    const bool more = c.lwito[1].value != 0;
    if (more) recfmt::write(c.ito, formats::prompt_line, {dotted_rule});
    recfmt::write(c.ito, formats::prompt_line, {"Enter", name});
    if (more) {
      recfmt::write(c.ito, formats::prompt_line, {"or return for default value"});
      recfmt::write(c.ito, formats::prompt_line, {"Default =", default_shown});
    }
    if (recfmt::read_checked(c.iti, formats::reply, {reply})) break;
    errorhead(routine_name.view(), routine_version.view(), routine_date.view());
    recfmt::write(c.ito, formats::prompt_line, {"could not read", name});
    recfmt::write(c.ito, formats::prompt_line, {"==> RETRYING"});
    errortail00();
  }

  const char first = reply[0];
  if (first == '\n' || first == '\r' || first == ' ') {
    recfmt::write(c.ito, formats::prompt_length,
                  {"ichar =", static_cast<int32_t>(static_cast<unsigned char>(first)),
                   "=> use default value"});
    recfmt::assign_text(v, default_value);
  } else {
    recfmt::assign_text(v, reply.view());
  }
  recfmt::write(c.ito, formats::prompt_line, {"New value =", std::string_view(v.data(), v.size())});
  if (c.lwito[1].value != 0) recfmt::write(c.ito, formats::prompt_line, {dotted_rule});
}

}  // namespace gral
