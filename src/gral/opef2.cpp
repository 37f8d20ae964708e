// SPDX-License-Identifier: GPL-3.0-or-later
#include "gral/opef2.h"

#include <sys/stat.h>

#include <cctype>
#include <map>
#include <string>
#include <string_view>

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

// Names are shown at least this wide, as they always were.
constexpr std::size_t shown_width = 30;

std::string shown(const std::string& name) {
  std::string s = name;
  if (s.size() < shown_width) s.resize(shown_width, ' ');
  return s;
}

// The role each unit was opened for here, to name it when its file is asked for again.
std::map<int32_t, std::string>& roles() {
  static std::map<int32_t, std::string> opened;
  return opened;
}

// Why the file cannot be opened before trying, or empty: not a regular file, or (to be
// written) the file of another open unit.
std::string refusal(const std::string& fnam, int32_t iu, std::string_view stat) {
  const std::string_view name = nonblank(fnam);
  struct stat st {};
  if (!name.empty() && ::stat(std::string(name).c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
    return "NOT A REGULAR FILE";
  }
  std::string how(nonblank(stat));
  for (char& ch : how) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  if (how == "old") return {};
  const int32_t holder = recfmt::unit_of_file(fnam);
  if (holder == 0 || holder == iu) return {};
  const auto role = roles().find(holder);
  return "ALREADY OPEN AS THE " +
         (role != roles().end() ? role->second : "UNIT " + std::to_string(holder)) + " FILE";
}

}  // namespace

void opef2(std::string& fnam, const recfmt::Text<20>& expl, int32_t iu, const recfmt::Text<7>& stat,
           int32_t inter) {
  const Ciocom& c = ciocom();
  for (;;) {
    const std::string_view role = nonblank(expl.view());
    submenuhead(routine_name.view(), routine_version.view(), routine_date.view());
    recfmt::write(c.ito, formats::file_message, {"OPENING", role, "FILE"});
    menutail();

    recfmt::Text<40> label(std::string(role) + " file name");
    if (inter == 0) {
      int32_t ierr = 0;
      inchardef(fnam, label.view(), fnam, ierr, shown_width);
    }

    const std::string why = refusal(fnam, iu, stat.view());
    if (why.empty() && recfmt::open(iu, fnam, stat.view()) == 0) {
      roles()[iu] = role;
      return;
    }

    if (inter == 1) {
      errorhead(routine_name.view(), routine_version.view(), routine_date.view());
      recfmt::write(c.ito, formats::file_message,
                    {"COULD NOT OPEN FILE", std::string_view(shown(fnam))});
      if (!why.empty()) recfmt::write(c.ito, formats::file_message, {std::string_view(why)});
      recfmt::write(c.ito, formats::file_unit, {"for unit =", iu});
      recfmt::write(c.ito, formats::file_message, {"===> STOPPING EXECUTION"});
      errortail00();
      // The run cannot go on without its file: end it, and say so in the exit code.
      recfmt::stop(open_failure_exit_code);
    }

    warninghead(routine_name.view(), routine_version.view(), routine_date.view());
    recfmt::write(c.ito, formats::file_message,
                  {"COULD NOT OPEN FILE", std::string_view(shown(fnam))});
    if (!why.empty()) recfmt::write(c.ito, formats::file_message, {std::string_view(why)});
    recfmt::write(c.ito, formats::file_message, {"===> RETRYING"});
    warningtail00();
  }
}

}  // namespace gral
