// SPDX-License-Identifier: GPL-3.0-or-later
// The extent of the tensors the data cannot tell apart, as the confidence summary gives it.
#include <gtest/gtest.h>

#include <string>

#include "bootstrap/indistinct.h"

namespace {

gemino::SetExtent wide_set() {
  gemino::SetExtent e;
  e.tensors = 3;
  e.sigma1_deg = 4.25;
  e.sigma3_deg = 12.0;
  e.r_min = 0.25f;
  e.r_max = 0.5f;
  e.threshold_min = 0.125f;
  e.threshold_max = 0.25f;
  return e;
}

TEST(ExtentText, GivesTheSetsReachAndWhatItMeans) {
  // 10 MPa over SEUIL 0.25 and 0.125: 40 and 80 MPa, the smaller from the larger SEUIL.
  EXPECT_EQ(bootstrap::extent_text(wide_set(), 10.0, 0.0001f),
            "Tensors the data cannot tell apart (objective within 0.0001 of the best): 3\n"
            "  sigma1 axes within 4.2 deg, sigma3 axes within 12.0 deg\n"
            "  R 0.250 to 0.500, SEUIL 0.1250 to 0.2500, differential stress 40.0 to 80.0 MPa\n"
            "  These tensors fit the data equally well: a wide set, even from noise-free data, "
            "is\n"
            "  not a failure of the search but what the data allow.\n");
}

TEST(ExtentText, CasesTable) {
  const struct {
    const char* name;
    int32_t tensors;
    float threshold_min;
    const char* shown;
    const char* not_shown;
  } table[] = {
      {"one tensor has no extent", 1, 0.125f, "not known", "sigma1 axes"},
      {"none found", 0, 0.125f, "not known", "R 0."},
      {"two tensors", 2, 0.125f, "differential stress 40.0 to 80.0 MPa", "not known"},
      {"SEUIL zero", 2, 0.0f, "differential stress undefined", "MPa"},
      {"SEUIL negative", 2, -0.5f, "differential stress undefined", "MPa"},
  };
  for (const auto& row : table) {
    SCOPED_TRACE(row.name);
    gemino::SetExtent e = wide_set();
    e.tensors = row.tensors;
    e.threshold_min = row.threshold_min;
    const std::string text = bootstrap::extent_text(e, 10.0, 0.0001f);
    EXPECT_NE(text.find(row.shown), std::string::npos) << text;
    EXPECT_EQ(text.find(row.not_shown), std::string::npos) << text;
    EXPECT_NE(text.find("cannot tell apart"), std::string::npos);
  }
}

}  // namespace
