// SPDX-License-Identifier: GPL-3.0-or-later
// Every format the inversion reads or writes with, in one table: each is named for what it
// reads or writes, with its old statement label where the report's readers know it by it.
// The code uses the named constants; tests iterate formats::table().
#pragma once

#include "recfmt/format_table.h"

// X(name, text)
#define GEMINO_FORMATS(X)                                                                        \
  /* the parameter file and its echo in the report */                                            \
  X(text_line_in, "(A80)")                                                                       \
  X(text_line_out, "(1X,A80)")                                                                   \
  X(run_parameters, "(T5,I1,1X,4(I3,1X),I1)")                                                    \
  X(selection_in, "(18(I3,1X))")                                                                 \
  X(selection_kept, "(T10,'SEULES LES DONNEES SUIVANTES SONT CONSERVEES')")                      \
  X(selection_removed, "(T10,'LES DONNEES SUIVANTES SONT RETIREES')")                            \
  X(selection_out, "(25(1X,I3))")                                                                \
  X(console_message, "(1X,A)")                                                                   \
  /* the twin data file and its listing */                                                       \
  X(block_header, "(I1,4X,3(I4,1X))")                                                            \
  X(data_record, "(2X,I3,3X,I2,4X,A1,2X,I3,2X,I3,4X,A1)")                                        \
  X(block_rotations, "(T10,'LES ROTATIONS SONT DE  ',3(I4,4X))")                                 \
  X(c_axis, "(/,2X,'AXE C',2X,I3,3X,I2,4X,A1,2X,I3,2X,I3,4X,A1,3(2X,F6.3),/)")                   \
  X(twin_plane_flagged,                                                                          \
    "(2X,'MACLE',2X,I3,3X,I2,4X,A1,2X,I3,2X,I3,4X,A1,3(2X,F6.3),5X,F5.1,'  TROP IMPORTANT ',"    \
    "3(2X,F6.3))")                                                                               \
  X(twin_plane,                                                                                  \
    "(2X,'MACLE',2X,I3,3X,I2,4X,A1,2X,I3,2X,I3,4X,A1,3(2X,F6.3),5X,F5.1,17X,3(2X,F6.3))")        \
  X(twin_counts,                                                                                 \
    "(/,1X,'NOMBRE DE MACLES  ',F7.0,/,'  NOMBRE DE NON MACLES  ',F7.0,/,'  POURCENTAGE  ',I3)") \
  /* the chosen starting state */                                                                \
  X(chosen_box,                                                                                  \
    "(T20,'    PARAMETRES CHOISIS,  SIGMA 1   DIR=',I3,'  PEND=',I2,T86,'*',/,"                  \
    "T20,'*    SIGMA 3  DIR=',I3,'  PEND=',I2,'   R=',F7.4,T86,'*')")                            \
  X(box_close, "(T20,'*******************************************************************',//)") \
  /* the program header on the console (label 10) */                                             \
  X(header_line, "(3(1x,a,1x,a))")                                                               \
  /* the ranking (label 10) */                                                                   \
  X(bad_ranking, "(T70,'MAUVAIS RANGEMENT')")                                                    \
  /* the tensor and the ranking in the report (labels 2000 to 2004) */                           \
  X(principal_axis, "(T20,'SIGMA ',I1,'   DIRECTION   ',F5.0,'   PENDAGE   ',F5.0,T80,F6.3,/)")  \
  X(objective_value, "(T20,'VALEUR DE LA FONCTION  ',F10.2,'  RAPPORT R ',F6.3,T80,F6.3,//)")    \
  X(kept_planes, "(14(1X,I4))")                                                                  \
  X(ranking_values, "(14(1X,F7.3,1X))")                                                          \
  X(ranking_numbers, "(/,14(3X,I4,2X))")                                                         \
  X(separator, "(/,T10,'******************************************',/)")                         \
  /* the search's trace (labels 1001 to 5000) */                                                 \
  X(trace_step, "( T3,'K=',I3,T20,'F0=',E11.4/)")                                                \
  X(trace_start, "(/T3,'K=',I3,T20,'F0=',E11.4/)")                                               \
  X(trace_direction, "(T5,'J=',I2,5X,15(F9.4,1X))")                                              \
  X(trace_directions_header, "(/T3,'V(I,J)=',T14,15('I=',I2,6X))")                               \
  X(trace_index_header, "(/T14,15('I=',I2,6X))")                                                 \
  X(trace_steps, "(/T6,'E(I)=',T11,15(F9.4,1X)/)")                                               \
  X(trace_point, "(T6,'X(I)=',T11,15(F9.4,1X)//)")                                               \
  X(trace_rotation, "(/T5,'ROTATION DES AXES'/)")                                                \
  X(trace_failure, "(T12,'ECHEC')")                                                              \
  X(trace_progress, "(T5,'ALFA1=',F9.4,T25,'ALF2/ALFA3=',F9.4/)")                                \
  /* the charts (labels 101, 102, 3222, 4100, 4101) */                                           \
  X(stress_chart_top, "('1','?',T5,97A1)")                                                       \
  X(stress_chart_row, "(T5,97A1)")                                                               \
  X(threshold, "(T20,'SEUIL=  ',F8.4)")                                                          \
  X(percent_chart_top, "('1',T5,'.',111A1)")                                                     \
  X(percent_chart_row, "(T5,'.',111A1)")

namespace gemino::formats {

RECFMT_DECLARE_FORMAT_TABLE(GEMINO_FORMATS)

}  // namespace gemino::formats
