// Parsing formats: every format the program uses parses, malformed ones are refused.
#include <gtest/gtest.h>

#include <string>

#include "recfmt/format.h"

namespace recfmt {
namespace {

using Kind = Format::Node::Kind;

TEST(FormatParse, EveryFormatOfTheProgramParses) {
  const char* formats[] = {
      "(/,1X,'NOMBRE DE MACLES  ',F7.0,/,'  NOMBRE DE NON MACLES  ',F7.0,/,'  POURCENTAGE  ',I3)",
      "(/,2X,'AXE C',2X,I3,3X,I2,4X,A1,2X,I3,2X,I3,4X,A1,3(2X,F6.3),/)",
      "(/,T10,'******************************************',/)",
      "(18(I3,1X))",
      "(1X,A80)",
      "(25(1X,I3))",
      "(2X,'MACLE',2X,I3,3X,I2,4X,A1,2X,I3,2X,I3,4X,A1,3(2X,F6.3),5X,F5.1,'  TROP IMPORTANT ',"
      "3(2X,F6.3))",
      "(2X,'MACLE',2X,I3,3X,I2,4X,A1,2X,I3,2X,I3,4X,A1,3(2X,F6.3),5X,F5.1,17X,3(2X,F6.3))",
      "(2X,I3,3X,I2,4X,A1,2X,I3,2X,I3,4X,A1)",
      "(A80)",
      "(I1,4X,3(I4,1X))",
      "(T10,'LES DONNEES SUIVANTES SONT RETIREES')",
      "(T10,'LES ROTATIONS SONT DE  ',3(I4,4X))",
      "(T10,'SEULES LES DONNEES SUIVANTES SONT CONSERVEES')",
      "(T20,'    PARAMETRES CHOISIS,  SIGMA 1   DIR=',I3,'  PEND=',I2,T86,'*',/,T20,"
      "'*    SIGMA 3  DIR=',I3,'  PEND=',I2,'   R=',F7.4,T86,'*')",
      "(T20,'*******************************************************************',//)",
      "(T5,I1,1X,4(I3,1X),I1)",
      "(2(a2,':'),a2)",
      "(3(1x,a))",
      "(3(1x,a,1x,a))",
      "(5(1x,a))",
      "(5(x,a))",
      "(T70,'MAUVAIS RANGEMENT')",
      "(a4,2('-',a2))",
      "(x,a)",
      "( T3,'K=',I3,T20,'F0=',E11.4/)",
      "('1','?',T5,97A1)",
      "(T5,97A1)",
      "(/T3,'K=',I3,T20,'F0=',E11.4/)",
      "(a)",
      "(1x,a,1x,i4)",
      "(x,a,x,i2)",
      "(T20,'SIGMA ',I1,'   DIRECTION   ',F5.0,'   PENDAGE   ',F5.0,T80,F6.3,/)",
      "(T20,'VALEUR DE LA FONCTION  ',F10.2,'  RAPPORT R ',F6.3,T80,F6.3,//)",
      "(14(1X,I4))",
      "(T5,'J=',I2,5X,15(F9.4,1X))",
      "(14(1X,F7.3,1X))",
      "(/,14(3X,I4,2X))",
      "(/T3,'V(I,J)=',T14,15('I=',I2,6X))",
      "(/T14,15('I=',I2,6X))",
      "(/T6,'E(I)=',T11,15(F9.4,1X)/)",
      "(T6,'X(I)=',T11,15(F9.4,1X)//)",
      "(x,a,x,l2)",
      "(/T5,'ROTATION DES AXES'/)",
      "(T20,'SEUIL=  ',F8.4)",
      "(T12,'ECHEC')",
      "('1',T5,'.',111A1)",
      "(T5,'.',111A1)",
      "(x,'***',x,a35,x,'***')",
      "(x,'///',x,a35,x,'///')",
      "(T5,'ALFA1=',F9.4,T25,'ALF2/ALFA3=',F9.4/)",
      "(x,'***',37('*'),'***')",
      "(x,'///',37('/'),'///')",
      "(1x,a,1x,i3,1x,a)",
      "(/,T10,'******************************************',/)",
  };
  for (const char* text : formats) {
    EXPECT_NO_THROW(Format{text}) << text;
  }
}

TEST(FormatParse, RepeatsUnrollAndQuotesKeepTheirText) {
  const Format f("(2X,3(I2,'a''b'),97A1, tl3 ,tr2,t7,e11.4,f6.3,l2,a,/)");
  const auto& n = f.nodes();
  ASSERT_EQ(n.size(), 1u + 6u + 97u + 8u);
  EXPECT_EQ(n[0].kind, Kind::Skip);
  EXPECT_EQ(n[0].width, 2);
  EXPECT_EQ(n[1].kind, Kind::Integer);
  EXPECT_EQ(n[2].kind, Kind::Literal);
  EXPECT_EQ(n[2].text, "a'b");
  EXPECT_EQ(n[6].text, "a'b");
  EXPECT_EQ(n[7].kind, Kind::Alpha);
  EXPECT_EQ(n[7].width, 1);
  EXPECT_EQ(n[104].kind, Kind::TabLeft);
  EXPECT_EQ(n[105].kind, Kind::Skip);
  EXPECT_EQ(n[106].kind, Kind::Tab);
  EXPECT_EQ(n[106].width, 7);
  EXPECT_EQ(n[107].kind, Kind::Exponent);
  EXPECT_EQ(n[107].decimals, 4);
  EXPECT_EQ(n[108].kind, Kind::Fixed);
  EXPECT_EQ(n[109].kind, Kind::Logical);
  EXPECT_EQ(n[110].width, -1);
  EXPECT_EQ(n[111].kind, Kind::Slash);
  // The only top-level group opens at node 1.
  EXPECT_EQ(f.reversion_start(), 1);
  EXPECT_EQ(Format("(I2,2(I1),1X,3(1X,2(I1)))").reversion_start(), 4);
  EXPECT_EQ(Format("(I2)").reversion_start(), 0);
}

TEST(FormatParse, MalformedFormatsAreRefused) {
  const char* bad[] = {
      "",          "I3",
      "(I3",       "(I3))",
      "((I3)",     "(I3,)",
      "(,I3)",     "(I3 I4)",
      "(Q3)",      "(F6)",
      "(F6.)",     "(E11)",
      "(I)",       "(I0)",
      "(L)",       "(T)",
      "(TL)",      "(3T5)",
      "('abc)",    "(3'ab')",
      "(A0)",      "(I3,,I4)",
      "(2(I3)",    "(I3) x",
      "(I999999)", "(99999(99999(A1)))",
      "(F6.3.2)",  "711(1X,A80)",
  };
  for (const char* text : bad) {
    EXPECT_THROW(Format{text}, FormatError) << text;
  }
  // Deep nesting is refused before it can exhaust the stack.
  const std::string deep = std::string(100000, '(') + "I1" + std::string(100000, ')');
  EXPECT_THROW(Format{deep}, FormatError);
  EXPECT_NO_THROW(Format("(((((I1)))))"));
}

}  // namespace
}  // namespace recfmt
