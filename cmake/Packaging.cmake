# SPDX-License-Identifier: GPL-3.0-or-later
# Installation of the documentation, examples and manual page, and the Debian package
# built from the install tree with `cpack -G DEB` (see scripts/package.sh).
#
# Layout under the install prefix (/usr in the package):
#   bin/gemino-term, bin/gemino             the programs (apps/)
#   share/applications, share/icons         desktop entry and icon (src/vozo_qt/)
#   share/doc/gemino/README.md              the overview, whose links into docs/ keep working
#   share/doc/gemino/copyright              the licence (GPL-3.0-or-later; LICENSE in full)
#   share/doc/gemino/changelog.gz           the package's change log
#   share/doc/gemino/docs/                  the user guide
#   share/doc/gemino/examples/              the bundled example and the script that made it
#   share/man/man1/gemino-term.1.gz         the manual pages of the two programs
#   share/man/man1/gemino.1.gz

set(GEMINO_DOC_DIR share/doc/gemino)

install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${GEMINO_DOC_DIR})
# The licence in Debian's machine-readable form, where Debian looks for it.
install(FILES ${PROJECT_SOURCE_DIR}/data/copyright DESTINATION ${GEMINO_DOC_DIR})
install(
  DIRECTORY ${PROJECT_SOURCE_DIR}/docs/
  DESTINATION ${GEMINO_DOC_DIR}/docs
  FILES_MATCHING
  PATTERN "*.md"
  PATTERN "*.png"
  PATTERN "*.svg")
install(
  FILES ${PROJECT_SOURCE_DIR}/examples/README.md ${PROJECT_SOURCE_DIR}/examples/params.txt
        ${PROJECT_SOURCE_DIR}/examples/data.txt ${PROJECT_SOURCE_DIR}/examples/make_example.py
  DESTINATION ${GEMINO_DOC_DIR}/examples)

# The manual page carries the project's version. Pages go compressed, as the man
# tools and Debian expect; -n keeps the archive free of a time stamp so that two
# builds give the same bytes.
set(gemino_man_pages gemino-term)
if(GEMINO_BUILD_QT)
  list(APPEND gemino_man_pages gemino)
endif()
find_program(GEMINO_GZIP gzip)
foreach(page ${gemino_man_pages})
  set(gemino_man_source ${CMAKE_CURRENT_BINARY_DIR}/${page}.1)
  configure_file(${PROJECT_SOURCE_DIR}/data/${page}.1.in ${gemino_man_source} @ONLY)
  if(GEMINO_GZIP)
    set(gemino_man_page ${gemino_man_source}.gz)
    add_custom_command(
      OUTPUT ${gemino_man_page}
      COMMAND ${GEMINO_GZIP} -n -9 -k -f ${gemino_man_source}
      DEPENDS ${gemino_man_source}
      COMMENT "Compressing the manual page of ${page}"
      VERBATIM)
    add_custom_target(${page}-man ALL DEPENDS ${gemino_man_page})
  else()
    set(gemino_man_page ${gemino_man_source})
  endif()
  install(FILES ${gemino_man_page} DESTINATION share/man/man1)
endforeach()

# The package's change log, where Debian looks for it (share/doc/gemino/changelog.gz),
# compressed as the manual pages are.
set(gemino_changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog)
configure_file(${PROJECT_SOURCE_DIR}/data/changelog.in ${gemino_changelog} @ONLY)
if(GEMINO_GZIP)
  add_custom_command(
    OUTPUT ${gemino_changelog}.gz
    COMMAND ${GEMINO_GZIP} -n -9 -k -f ${gemino_changelog}
    DEPENDS ${gemino_changelog}
    COMMENT "Compressing the change log"
    VERBATIM)
  add_custom_target(gemino-changelog ALL DEPENDS ${gemino_changelog}.gz)
  install(FILES ${gemino_changelog}.gz DESTINATION ${GEMINO_DOC_DIR})
else()
  install(FILES ${gemino_changelog} DESTINATION ${GEMINO_DOC_DIR})
endif()

# The Debian package.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "gemino")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "Gemino maintainers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "stress tensor inversion of mechanical twin lamellae")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Gemino maintainers <gemino@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION "science")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# The summary above becomes the first line; these are the extended description.
if(GEMINO_BUILD_QT)
  set(gemino_programs
      "The package holds gemino, the desktop program, whose console is a
window with menus to save, print and copy; gemino-term, the terminal
program for scripted batches; the user guide and a worked example.")
else()
  set(gemino_programs "The package holds gemino-term, the terminal program for scripted
batches, the user guide and a worked example.")
endif()
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "From measurements of mechanical twin lamellae in crystal grains (calcite
and the like) -- a c-axis per grain and the possible twin planes of that
grain, each observed twinned or untwinned -- Gemino finds the orientation
of the principal stresses sigma1, sigma2, sigma3 and the stress ratio R
under which the twinned planes carry the highest resolved shear stresses
and the untwinned planes the lowest, together with the threshold that
separates them.

One run reads a parameter file and a data file named in a short console
dialogue, tries random starting tensors, improves the best one with a
derivative-free search and writes a fixed-column report with the ranking
of all planes and two character charts.

${gemino_programs}")

# Run-time dependencies come from the libraries the programs are linked with.
# dpkg-shlibdeps (dpkg-dev) and file do the work; without them the package falls
# back to the bare library packages, unversioned.
find_program(GEMINO_DPKG_SHLIBDEPS dpkg-shlibdeps)
find_program(GEMINO_FILE_PROGRAM file)
# Figures name their font rather than link it: the font package is listed by hand.
if(GEMINO_DPKG_SHLIBDEPS AND GEMINO_FILE_PROGRAM)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
else()
  message(STATUS "dpkg-shlibdeps or file not found: the package's dependencies are set by hand")
  set(gemino_depends "libc6, libgcc-s1, libstdc++6, libcairo2, fonts-dejavu-core")
  if(GEMINO_BUILD_QT)
    string(APPEND gemino_depends ", libqt6core6, libqt6gui6, libqt6widgets6, libqt6printsupport6")
  endif()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${gemino_depends}")
endif()

# A source package must not carry build trees or the repository itself.
set(CPACK_SOURCE_IGNORE_FILES "/\\.git/" "/build[^/]*/" "\\.swp$")

include(CPack)
