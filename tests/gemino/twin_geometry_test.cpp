// SPDX-License-Identifier: GPL-3.0-or-later
// Grain geometry and the bookkeeping of the twin data reader, without files.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "gemino/grain_geometry.h"
#include "gemino/state.h"
#include "gemino/twin_data.h"

namespace {

using gemino::DataRecord;
using gemino::State;
using gemino::TwinReader;

constexpr float tol = 2e-5f;

void expect_vector(const float (&v)[3], float x, float y, float z) {
  EXPECT_NEAR(v[0], x, tol);
  EXPECT_NEAR(v[1], y, tol);
  EXPECT_NEAR(v[2], z, tol);
}

std::unique_ptr<State> fresh_state() {
  auto s = std::make_unique<State>();
  gemino::reset_state(*s);
  return s;
}

// --- geometry --------------------------------------------------------------------------

TEST(GrainGeometry, ReaderConvertsWithItsOwnPi) {
  // 180 degrees is the reader's 3.14159, not the float nearest pi.
  EXPECT_EQ(gemino::data_radians(180), 3.14159f);
  EXPECT_EQ(gemino::data_radians(90), (90.0f * 3.14159f) / 180.0f);
  EXPECT_EQ(gemino::data_radians(0), 0.0f);
}

TEST(GrainGeometry, CAxisByAzimuthAndPlunge) {
  struct Case {
    int32_t direction, plunge;
    float x, y, z;
  };
  // The azimuth is turned into (630 - azimuth) mod 360 from the first axis.
  const Case cases[] = {
      {0, 0, 0.0f, -1.0f, 0.0f},          // 270
      {300, 0, 0.8660254f, -0.5f, 0.0f},  // 330
      {90, 0, -1.0f, 0.0f, 0.0f},         // 180
      {180, 60, 0.0f, 0.5f, 0.8660254f},  // 90
      {90, 90, 0.0f, 0.0f, 1.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.direction);
    float v[3];
    gemino::c_axis_of_record(c.direction, c.plunge, ' ', 0, v);
    expect_vector(v, c.x, c.y, c.z);
  }
}

TEST(GrainGeometry, CAxisWithinAPlane) {
  struct Case {
    int32_t direction, plunge;
    char sense;
    int32_t angle;
    float x, y, z;
  };
  const Case cases[] = {
      {0, 30, 'D', 0, 0.5f, 0.0f, 0.8660254f},   // down the plane, dip to the "D" side
      {0, 30, 'G', 0, -0.5f, 0.0f, 0.8660254f},  // any other letter dips the other way
      {0, 30, 'd', 0, -0.5f, 0.0f, 0.8660254f},  // lower case is not "D"
      {0, 30, 'D', 90, 0.0f, -1.0f, 0.0f},       // along the strike
      {0, 30, 'D', 450, 0.0f, -1.0f, 0.0f},      // the angle is taken modulo 360
      {90, 0, 'D', 90, 1.0f, 0.0f, 0.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.direction << " " << c.sense << " " << c.angle);
    float v[3];
    gemino::c_axis_of_record(c.direction, c.plunge, c.sense, c.angle, v);
    expect_vector(v, c.x, c.y, c.z);
  }
}

TEST(GrainGeometry, PlaneNormalAndItsDSide) {
  float p[3];
  gemino::plane_pole(0, 30, ' ', p);
  expect_vector(p, 0.8660254f, 0.0f, 0.5f);
  // "D": plunge 150, the horizontal components reversed and the vertical one kept.
  gemino::plane_pole(0, 30, 'D', p);
  expect_vector(p, -0.8660254f, 0.0f, 0.5f);
  gemino::plane_pole(90, 0, 'd', p);
  expect_vector(p, 0.0f, 1.0f, 0.0f);
}

TEST(GrainGeometry, BlockRotationTurnsAboutThirdThenFirstThirdPlaneThenThird) {
  const float quarter = gemino::data_radians(90);
  const float none = 0.0f;
  float x = 1.0f, y = 0.0f, z = 0.0f;
  gemino::rotate_vector(x, y, z, quarter, none, none);
  EXPECT_NEAR(x, 0.0f, tol);
  EXPECT_NEAR(y, 1.0f, tol);
  EXPECT_NEAR(z, 0.0f, tol);

  x = 1.0f, y = 0.0f, z = 0.0f;
  gemino::rotate_vector(x, y, z, none, quarter, none);
  EXPECT_NEAR(x, 0.0f, tol);
  EXPECT_NEAR(y, 0.0f, tol);
  EXPECT_NEAR(z, 1.0f, tol);

  // All three: (1,0,0) -> (0,1,0) -> unchanged by the second -> (-1,0,0).
  x = 1.0f, y = 0.0f, z = 0.0f;
  gemino::rotate_vector(x, y, z, quarter, quarter, quarter);
  EXPECT_NEAR(x, -1.0f, tol);
  EXPECT_NEAR(y, 0.0f, tol);
  EXPECT_NEAR(z, 0.0f, tol);
}

TEST(GrainGeometry, CrossProductMayWriteOverItsOperand) {
  float a[3] = {1.0f, 2.0f, 3.0f};
  const float b[3] = {4.0f, 5.0f, 6.0f};
  gemino::cross_product(a[0], a[1], a[2], b[0], b[1], b[2], a[0], a[1], a[2]);
  EXPECT_EQ(a[0], -3.0f);
  EXPECT_EQ(a[1], 6.0f);
  EXPECT_EQ(a[2], -3.0f);
}

TEST(GrainGeometry, CAxisAngleIsDefinedPastOne) {
  EXPECT_EQ(gemino::c_axis_angle(1.0000001f), 0.0f);
  EXPECT_EQ(gemino::c_axis_angle(1.0f), 0.0f);
  EXPECT_NEAR(gemino::c_axis_angle(std::cos(26.0f * 3.14159265f / 180.0f)), 26.0f, 1e-3f);
  EXPECT_NEAR(gemino::c_axis_angle(0.0f), 90.0f, 1e-3f);
}

TEST(GrainGeometry, GlideIsTheCAxisProjectedOnThePlane) {
  const float pole[3] = {0.0f, 0.0f, 1.0f};
  const float c[3] = {0.43837115f, 0.0f, 0.89879405f};  // 26 degrees from the pole
  float g[3];
  gemino::glide_toward(pole, c, g);
  expect_vector(g, 1.0f, 0.0f, 0.0f);

  // A c-axis along the normal projects to nothing: the glide is the zero vector.
  const float along[3] = {0.0f, 0.0f, -1.0f};
  gemino::glide_toward(pole, along, g);
  expect_vector(g, 0.0f, 0.0f, 0.0f);
  EXPECT_FALSE(std::isnan(g[0]) || std::isnan(g[1]) || std::isnan(g[2]));
}

// --- reader bookkeeping ----------------------------------------------------------------

TEST(TwinReader, NumbersRunsOfOneGrainAndRestartInEachBlock) {
  TwinReader r;
  const int32_t none[3] = {0, 0, 0};
  gemino::start_block(r, 0, none);
  EXPECT_EQ(r.block_offset, 0);
  // Three planes of grain 5, then grain 7, then grain 5 again (not consecutive).
  EXPECT_EQ(gemino::number_plane(r, 5), 5);
  EXPECT_EQ(gemino::number_plane(r, 5), 305);
  EXPECT_EQ(gemino::number_plane(r, 5), 605);
  EXPECT_EQ(gemino::number_plane(r, 7), 7);
  EXPECT_EQ(gemino::number_plane(r, 5), 5);
  EXPECT_EQ(gemino::number_plane(r, 5), 305);

  gemino::start_block(r, 0, none);
  EXPECT_EQ(r.block_offset, 100);
  EXPECT_EQ(gemino::number_plane(r, 12), 112);
  EXPECT_EQ(gemino::number_plane(r, 12), 412);
  EXPECT_EQ(gemino::number_plane(r, 12), 712);

  // Fifth block: the third plane of grain 2 reaches four digits.
  gemino::start_block(r, 0, none);
  gemino::start_block(r, 0, none);
  gemino::start_block(r, 0, none);
  EXPECT_EQ(gemino::number_plane(r, 2), 402);
  EXPECT_EQ(gemino::number_plane(r, 2), 702);
  EXPECT_EQ(gemino::number_plane(r, 2), 1002);
}

TEST(TwinReader, BlockRotationIsKeptInRadians) {
  TwinReader r;
  const int32_t degrees[3] = {30, -20, 45};
  gemino::start_block(r, 1, degrees);
  EXPECT_EQ(r.rotation_flag, 1);
  EXPECT_EQ(r.rotation[0], gemino::data_radians(30));
  EXPECT_EQ(r.rotation[1], gemino::data_radians(-20));
  EXPECT_EQ(r.rotation[2], gemino::data_radians(45));
  EXPECT_EQ(r.previous_number, 0);
}

TEST(TwinReader, CAxisPointsUpwardAfterTheBlockRotation) {
  TwinReader r;
  const int32_t none[3] = {0, 0, 0};
  gemino::start_block(r, 0, none);
  DataRecord down;
  down.direction = 90;  // 180 from the first axis
  down.plunge = -9;
  gemino::take_c_axis(r, down);
  EXPECT_TRUE(r.c_axis_seen);
  EXPECT_NEAR(r.c_axis[0], 0.98768836f, tol);
  EXPECT_NEAR(r.c_axis[1], 0.0f, tol);
  EXPECT_NEAR(r.c_axis[2], 0.15643446f, tol);

  // A horizontal axis (third component not above 0) is reversed as well.
  const int32_t quarter[3] = {90, 0, 0};
  gemino::start_block(r, 1, quarter);
  DataRecord flat;  // (0, -1, 0), turned to (1, 0, 0) by the block
  gemino::take_c_axis(r, flat);
  EXPECT_NEAR(r.c_axis[0], -1.0f, tol);
  EXPECT_NEAR(r.c_axis[1], 0.0f, tol);
  EXPECT_NEAR(r.c_axis[2], 0.0f, tol);
}

TEST(TwinReader, StoredPlaneTurnsTheCAxisToItsSide) {
  auto s = fresh_state();
  TwinReader r;
  r.c_axis_seen = true;
  r.c_axis[0] = -0.43837115f;  // 26 degrees from the downward vertical
  r.c_axis[1] = 0.0f;
  r.c_axis[2] = -0.89879405f;
  DataRecord plane;
  plane.direction = 0;
  plane.plunge = 90;
  plane.code_letter = 'N';
  gemino::PlaneListing out{};
  gemino::store_plane(*s, r, plane, 305, out);

  EXPECT_EQ(r.next_row, 1);
  EXPECT_EQ(s->data_number[0], 305);
  EXPECT_EQ(s->twin_flag[0], -1);
  expect_vector(s->pole[0], 0.0f, 0.0f, 1.0f);
  // The kept c-axis is reversed for the planes that follow.
  EXPECT_NEAR(r.c_axis[0], 0.43837115f, tol);
  EXPECT_NEAR(r.c_axis[2], 0.89879405f, tol);
  EXPECT_NEAR(out.c_angle, 26.0f, 1e-3f);
  expect_vector(s->glide[0], 1.0f, 0.0f, 0.0f);

  plane.code_letter = 'n';  // only an upper-case N is untwinned
  gemino::store_plane(*s, r, plane, 6, out);
  EXPECT_EQ(s->twin_flag[1], 1);
  EXPECT_EQ(r.next_row, 2);
}

TEST(TwinReader, SelectionModes) {
  auto s = fresh_state();
  s->selection_count = 2;
  s->selection_list[0] = 5;
  s->selection_list[1] = 305;
  struct Case {
    int32_t mode;
    int32_t number;
    char code;
    bool accepted;
  };
  const Case cases[] = {
      {0, 5, 'X', true},
      {0, 999, 'N', true},
      // Keep only the listed data: every untwinned plane stays.
      {2, 5, 'X', true},
      {2, 305, 'M', true},
      {2, 605, 'X', false},
      {2, 605, 'N', true},
      // Any other mode removes the listed data, twinned or not.
      {1, 5, 'X', false},
      {1, 305, 'N', false},
      {1, 605, 'X', true},
      {3, 5, 'N', false},
      {-1, 305, 'X', false},
      {-1, 7, 'X', true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.mode << " " << c.number << " " << c.code);
    s->selection_mode = c.mode;
    EXPECT_EQ(gemino::plane_selected(*s, c.number, c.code), c.accepted);
  }

  // Keeping from an empty list keeps nothing, not even the untwinned planes.
  s->selection_mode = 2;
  s->selection_count = 0;
  EXPECT_FALSE(gemino::plane_selected(*s, 5, 'N'));
  EXPECT_FALSE(gemino::plane_selected(*s, 5, 'X'));
  s->selection_mode = 1;
  EXPECT_TRUE(gemino::plane_selected(*s, 5, 'X'));
}

TEST(TwinReader, CountsAndTwinLimit) {
  auto s = fresh_state();
  const int32_t flags[] = {1, -1, 1, 1, -1};
  s->data_count = 5;
  for (int32_t i = 0; i < 5; ++i) s->twin_flag[i] = flags[i];
  struct Case {
    int32_t percent;
    int32_t limit;
  };
  // twin_limit = INT(percent x 3 / 100), a number of planes.
  const Case cases[] = {{50, 1}, {100, 3}, {66, 1}, {67, 2}, {0, 0}, {-50, -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.percent);
    s->twin_percent = c.percent;
    float twinned = -1.0f, untwinned = -1.0f;
    gemino::count_planes(*s, twinned, untwinned);
    EXPECT_EQ(twinned, 3.0f);
    EXPECT_EQ(untwinned, 2.0f);
    EXPECT_EQ(s->twin_limit, c.limit);
  }
  // A share beyond every integer saturates: it never turns negative and meets no plane.
  s->data_count = 500;
  for (int32_t i = 0; i < 500; ++i) s->twin_flag[i] = 1;
  s->twin_percent = std::numeric_limits<int32_t>::max();
  float twinned = 0.0f, untwinned = 0.0f;
  gemino::count_planes(*s, twinned, untwinned);
  EXPECT_EQ(s->twin_limit, std::numeric_limits<int32_t>::max());
}

TEST(TwinReader, TruncationToInteger) {
  EXPECT_EQ(gemino::truncate_to_int(2.9f), 2);
  EXPECT_EQ(gemino::truncate_to_int(-2.9f), -2);
  EXPECT_EQ(gemino::truncate_to_int(2147483520.0f), 2147483520);
  EXPECT_EQ(gemino::truncate_to_int(-2147483648.0f), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(gemino::truncate_to_int(2147483648.0f), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(gemino::truncate_to_int(-3.0e9f), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(gemino::truncate_to_int(std::numeric_limits<float>::quiet_NaN()), 0);
  EXPECT_EQ(gemino::truncate_to_int(std::numeric_limits<float>::infinity()),
            std::numeric_limits<int32_t>::max());
}

}  // namespace
