#include "gral/opef2.h"

#include <string>

#include "gral/banners.h"
#include "gral/formats.h"
#include "gral/inchardef.h"
#include "gral/initsio.h"
#include "gral/textlen.h"
#include "recfmt/statements.h"
#include "recfmt/stop.h"
#include "recfmt/units.h"

namespace gral {

namespace {

const recfmt::Text<11> routine_name("opef2");
const recfmt::Text<4> routine_version("4.3");
const recfmt::Text<10> routine_date("16-06-2010");

}  // namespace

void opef2(recfmt::Text<30>& fnam, const recfmt::Text<20>& expl, int32_t iu,
           const recfmt::Text<7>& stat, int32_t inter) {
  const Ciocom& c = ciocom();
  for (;;) {
    const std::string_view role = nonblank(expl.view());
    submenuhead(routine_name.view(), routine_version.view(), routine_date.view());
    recfmt::write(c.ito, formats::file_message, {"OPENING", role, "FILE"});
    menutail();

    recfmt::Text<40> label(std::string(role) + " file name");
    if (inter == 0) {
      int32_t ierr = 0;
      inchardef(fnam.span(), label.view(), fnam.view(), ierr);
    }

    if (recfmt::open(iu, fnam.view(), stat.view()) == 0) return;

    if (inter == 1) {
      errorhead(routine_name.view(), routine_version.view(), routine_date.view());
      recfmt::write(c.ito, formats::file_message, {"COULD NOT OPEN FILE", fnam});
      recfmt::write(c.ito, formats::file_unit, {"for unit =", iu});
      recfmt::write(c.ito, formats::file_message, {"===> STOPPING EXECUTION"});
      errortail00();
      // The run cannot go on without its file: end it, and say so in the exit code.
      recfmt::stop(open_failure_exit_code);
    }

    warninghead(routine_name.view(), routine_version.view(), routine_date.view());
    recfmt::write(c.ito, formats::file_message, {"COULD NOT OPEN FILE", fnam});
    recfmt::write(c.ito, formats::file_message, {"===> RETRYING"});
    warningtail00();
  }
}

}  // namespace gral
