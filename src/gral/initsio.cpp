// SPDX-License-Identifier: GPL-3.0-or-later
#include "gral/initsio.h"

#include "gral/banners.h"
#include "gral/formats.h"
#include "recfmt/statements.h"

namespace gral {

namespace {

const recfmt::Text<11> routine_name("initsio");
const recfmt::Text<4> routine_version(" 3.0");
const recfmt::Text<10> routine_date("08-03-2000");

constexpr recfmt::Logical yes{1};
constexpr recfmt::Logical no{0};

}  // namespace

Ciocom& ciocom() {
  static Ciocom block{};
  return block;
}

void initsio() {
  Ciocom& c = ciocom();
  c.iti = 5;
  c.ito = 6;
  c.itier = 5;
  c.itoer = 6;
  c.lop = no;
  c.locom = no;
  for (int32_t i = 0; i < 2; ++i) c.lwito[i] = yes;
  c.lwito[2] = no;
  c.lcrerr = yes;

  submenuhead(routine_name.view(), routine_version.view(), routine_date.view());
  recfmt::write(c.ito, formats::setting, {"INITIALIZING INPUT/OUTPUT"});
  recfmt::write(c.ito, formats::setting_unit, {"standard  input unit        =", c.iti});
  recfmt::write(c.ito, formats::setting_unit, {"standard output unit        =", c.ito});
  recfmt::write(c.ito, formats::setting_unit, {"error     input unit        =", c.itier});
  recfmt::write(c.ito, formats::setting_unit, {"error    output unit        =", c.itoer});
  recfmt::write(c.ito, formats::setting_switch, {"minimum output enabled      :", c.lwito[0]});
  recfmt::write(c.ito, formats::setting_switch, {"more    output enabled      :", c.lwito[1]});
  recfmt::write(c.ito, formats::setting_switch, {"maximum output enabled      :", c.lwito[2]});
  recfmt::write(c.ito, formats::setting_switch, {"command file open status    :", c.locom});
  recfmt::write(c.ito, formats::setting_switch, {"plot    file open status    :", c.lop});
  recfmt::write(c.ito, formats::setting_switch, {"pause after warning or error:", c.lcrerr});
  menutail();
}

}  // namespace gral
