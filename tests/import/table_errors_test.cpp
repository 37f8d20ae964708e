// SPDX-License-Identifier: GPL-3.0-or-later
// Tables a converter must refuse, each complaint pointing at the line and column of the
// fault, and the ones at the edge of what it accepts.
#include <gtest/gtest.h>

#include <string>

#include "import/convert.h"

namespace {

using data_import::convert_text;
using data_import::Options;

const std::string plane_header = "grain,c_trend,c_plunge,pole_trend,pole_plunge,twinned\n";
const std::string ebsd_header =
    "# euler: bunge-passive\n# crystal_frame: x=a\n# specimen_to_geographic: 0 0 0\n"
    "grain,phi1,Phi,phi2,e1,e2,e3\n";

std::string error_of(const std::string& csv, const Options& options = {}) {
  const data_import::Outcome o = convert_text(csv, "in.csv", "out.txt", options);
  return o.ok() ? std::string("(accepted)") : o.error;
}

struct Refused {
  const char* name;
  std::string csv;
  const char* place;  // "in.csv:LINE:COLUMN: "
  const char* words;  // a part of the message
};

TEST(TableErrors, BadRowsAreReportedAtTheirLineAndColumn) {
  const Refused cases[] = {
      {"missing field", plane_header + "1,268,37,28,29\n", "in.csv:2:15: ", "twinned is missing"},
      {"empty field", plane_header + "1,268,,28,29,1\n", "in.csv:2:7: ", "c_plunge is missing"},
      {"plunge above 90", plane_header + "1,268,90.5,28,29,1\n", "in.csv:2:7: ", "out of range"},
      {"negative plunge", plane_header + "1,268,37,28,-1,1\n", "in.csv:2:13: ", "out of range"},
      {"trend above 360", plane_header + "1,360.01,37,28,29,1\n", "in.csv:2:3: ", "out of range"},
      {"not a number", plane_header + "1,268,37,2x8,29,1\n", "in.csv:2:10: ", "not a number"},
      {"infinity", plane_header + "1,268,37,inf,29,1\n", "in.csv:2:10: ", "not a number"},
      {"grain 0", plane_header + "0,268,37,28,29,1\n", "in.csv:2:1: ", "grain 0 is out of range"},
      {"grain not whole", plane_header + "1.5,268,37,28,29,1\n", "in.csv:2:1: ", "whole number"},
      {"twin flag", plane_header + "1,268,37,28,29,maybe\n", "in.csv:2:16: ", "1/0, yes/no"},
      {"conflicting c-axis",
       plane_header + "1,268,37,28,29,1\n2,10,10,100,10,0\n1,268,38,71,15,0\n",
       "in.csv:4:3: ", "grain 1 was given the c-axis 268.00/37.00 on line 2"},
      {"plane repeated", plane_header + "1,268,37,28,29,1\n1,268,37,28,29,0\n",
       "in.csv:3:10: ", "has this plane already on line 2"},
      {"fourth plane",
       plane_header + "1,0,90,0,64,1\n1,0,90,120,64,1\n1,0,90,240,64,1\n1,0,90,90,10,1\n",
       "in.csv:5:1: ", "more than three planes"},
      {"pole along c axis", plane_header + "1,268,37,268,37,1\n",
       "in.csv:2:10: ", "no glide direction"},
      {"too many fields", plane_header + "1,268,37,28,29,1,5\n", "in.csv:2:18: ", "more fields"},
      {"unclosed quote", plane_header + "\"1,268,37,28,29,1\n", "in.csv:2:1: ", "not closed"},
      {"twins on untwinned plane",
       "grain,c_trend,c_plunge,pole_trend,pole_plunge,twinned,twin_count\n1,268,37,28,29,0,3\n",
       "in.csv:2:18: ", "twin_count 3 on a plane marked untwinned"},
      {"unknown column", "grain,c_trend,c_plunge,pole_trend,pole_plunge,twinned,colour\n",
       "in.csv:1:55: ", "has no column \"colour\""},
      {"column twice", "grain,c_trend,c_plunge,pole_trend,pole_plunge,twinned,grain\n",
       "in.csv:1:55: ", "named twice"},
      {"missing column", "grain,c_plunge,pole_trend,pole_plunge,twinned\n",
       "in.csv:1:1: ", "lacks the column(s) c_trend"},
      {"grain 100 in a block",
       "grain,c_trend,c_plunge,pole_trend,pole_plunge,twinned,block\n100,268,37,28,29,1,1\n",
       "in.csv:2:1: ", "from 1 to 99 within a block"},
      {"fourth block",
       "grain,c_trend,c_plunge,pole_trend,pole_plunge,twinned,block\n1,268,37,28,29,1,4\n",
       "in.csv:2:1: ", "at most three blocks"},
      {"EBSD grain twice", ebsd_header + "7,0,0,0,1,0,0\n7,10,20,30,0,0,0\n",
       "in.csv:6:1: ", "grain 7 is given twice"},
      {"EBSD Phi above 180", ebsd_header + "7,0,180.5,0,1,0,0\n",
       "in.csv:5:5: ", "Phi 180.5 is out of range"},
      {"EBSD e3 missing", ebsd_header + "7,0,0,0,1,0\n", "in.csv:5:12: ", "e3 is missing"},
  };
  for (const Refused& c : cases) {
    const std::string error = error_of(c.csv);
    EXPECT_EQ(error.rfind(c.place, 0), 0u) << c.name << ": " << error;
    EXPECT_NE(error.find(c.words), std::string::npos) << c.name << ": " << error;
  }
}

TEST(TableErrors, TheEdgesOfTheRangesAreAccepted) {
  const std::string accepted[] = {
      plane_header + "1,360,90,0,0,1\n",
      plane_header + "1,0,0,360,90,0\n",
      plane_header + "99,+12.5,1e1,28,29,YES\n",
      plane_header + "\"1\", 268 ,37,28,29,u\r\n",
      "\xEF\xBB\xBF# a comment\n" + plane_header + "\n1.0,268,37,28,29,no\n# another\n",
      ebsd_header + "1,360,180,360,T,u,No\n",
  };
  for (const std::string& csv : accepted) EXPECT_EQ(error_of(csv), "(accepted)") << csv;
}

TEST(TableErrors, EveryConventionMissingIsNamed) {
  const std::string error = error_of("grain,phi1,Phi,phi2,e1,e2,e3\n1,0,0,0,1,0,0\n");
  EXPECT_EQ(error,
            "in.csv: the EBSD grain table must declare its conventions; missing: euler (--euler), "
            "crystal_frame (--crystal-frame), specimen_to_geographic (--specimen-to-geographic)");

  Options options;
  options.declarations.euler = "bunge-active";
  options.declarations.specimen_to_geographic = "0 0 0";
  EXPECT_EQ(error_of("grain,phi1,Phi,phi2,e1,e2,e3\n1,0,0,0,1,0,0\n", options),
            "in.csv: the EBSD grain table must declare its conventions; missing: crystal_frame "
            "(--crystal-frame)");
}

TEST(TableErrors, AConventionDeclaredTwiceMustAgree) {
  Options options;
  options.declarations.crystal_frame = "x=a*";
  const std::string error = error_of(ebsd_header + "1,0,0,0,1,0,0\n", options);
  EXPECT_EQ(error,
            "in.csv:2:18: the file declares crystal_frame \"x=a\" but --crystal-frame says "
            "\"x=a*\"");
  options.declarations.crystal_frame = "X=A";
  EXPECT_EQ(error_of(ebsd_header + "1,0,0,0,1,0,0\n", options), "(accepted)");
}

TEST(TableErrors, AConventionWrittenWronglyIsNamed) {
  const std::string bad[][2] = {
      {"# euler: bunge\n", "in.csv:1:10: euler must be bunge-passive or bunge-active"},
      {"# crystal_frame: x=b\n", "in.csv:1:18: crystal_frame must be x=a or x=a*"},
      {"# specimen_to_geographic: 10 20\n",
       "in.csv:1:27: specimen_to_geographic must be three angles"},
      {"# euler: bunge-active\n",
       "in.csv:2:10: euler is declared \"bunge-active\" on line 1 and \"bunge-passive\" here"},
  };
  for (const auto& [line, expected] : bad) {
    const std::string error = error_of(line + ebsd_header + "1,0,0,0,1,0,0\n");
    EXPECT_EQ(error.rfind(expected, 0), 0u) << error;
  }
}

TEST(TableErrors, TheHeaderMustTellTheForm) {
  EXPECT_NE(error_of("grain,trend,plunge\n1,2,3\n").find("names neither"), std::string::npos);
  EXPECT_NE(error_of("grain,phi1,pole_trend\n").find("both"), std::string::npos);
  EXPECT_NE(error_of(plane_header).find("no grain"), std::string::npos);
}

}  // namespace
