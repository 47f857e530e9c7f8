# SPDX-FileCopyrightText: 2026 The Glyphora authors
# SPDX-License-Identifier: GPL-3.0-or-later

# Run by cpack once the files are staged: writes the package's changelog,
# compressed as Debian keeps it, into usr/share/doc/glyphora of the staged
# tree. Its entry is signed by the package's maintainer.
set(maintainer "${CPACK_DEBIAN_PACKAGE_MAINTAINER}")
if(NOT maintainer)
    set(maintainer "${CPACK_PACKAGE_CONTACT}")
endif()
if(NOT maintainer)
    message(FATAL_ERROR "A Debian package needs a maintainer: configure with "
                        "-DGLYPHORA_MAINTAINER=\"Name <address>\", or run "
                        "cpack -D CPACK_PACKAGE_CONTACT=\"Name <address>\"")
endif()

# The release day at noon UTC, in the changelog's RFC 5322 form.
string(REGEX MATCH "^([0-9]+)-([0-9]+)-([0-9]+)$" date "${CPACK_GLYPHORA_RELEASE_DATE}")
set(year ${CMAKE_MATCH_1})
set(day ${CMAKE_MATCH_3})
math(EXPR month_index "${CMAKE_MATCH_2} - 1")
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(GET months ${month_index} month)
# CMake can name the weekday only of the present day; the release day's
# comes from Zeller's congruence (0 is Saturday).
math(EXPR y "${CMAKE_MATCH_1}")
math(EXPR m "${CMAKE_MATCH_2}")
math(EXPR d "${CMAKE_MATCH_3}")
if(m LESS 3)
    math(EXPR y "${y} - 1")
    math(EXPR m "${m} + 12")
endif()
math(EXPR zeller "(${d} + (13 * (${m} + 1)) / 5 + ${y} + ${y} / 4 - ${y} / 100 + ${y} / 400) % 7")
set(weekdays Sat Sun Mon Tue Wed Thu Fri)
list(GET weekdays ${zeller} weekday)
set(GLYPHORA_CHANGELOG_MAINTAINER "${maintainer}")
set(GLYPHORA_CHANGELOG_DATE "${weekday}, ${day} ${month} ${year} 12:00:00 +0000")

set(doc "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/share/doc/glyphora")
file(MAKE_DIRECTORY "${doc}")
configure_file("${CPACK_GLYPHORA_CHANGELOG_TEMPLATE}" "${doc}/changelog" @ONLY)
execute_process(COMMAND gzip -9nf "${doc}/changelog" RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "cannot compress ${doc}/changelog")
endif()
