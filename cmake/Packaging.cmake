# SPDX-FileCopyrightText: 2026 The Glyphora authors
# SPDX-License-Identifier: GPL-3.0-or-later

# A Debian package of what `cmake --install` puts in place: `cpack -G DEB`
# in the build folder.

# Packaging takes what was built; it does not build the whole tree again
# (benchmarks and tests included) before it installs.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME glyphora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "look at the fonts your printer offers and print a font sheet")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Glyphora lists every font that the default printer offers, shows a sample\n"
    "line in the font you click, and prints a font sheet of any selection. When\n"
    "no printer is set up, the sheet is saved as a PDF in the documents folder.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

# Who answers for the package is for the one who builds it to say: the
# Maintainer field (and the changelog's signature) comes from this option, or
# from `cpack -D CPACK_PACKAGE_CONTACT="Name <address>"`; cpack refuses to
# build a package without one.
set(GLYPHORA_MAINTAINER "" CACHE STRING
    "The Maintainer field of the Debian package, \"Name <address>\" (empty: none)")
if(GLYPHORA_MAINTAINER)
    set(CPACK_PACKAGE_CONTACT ${GLYPHORA_MAINTAINER})
endif()
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
if(GLYPHORA_HOMEPAGE)
    set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${GLYPHORA_HOMEPAGE})
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The libraries the programs link (Qt 6, libcups2, fontconfig, xcb, and the
# libraries under MuPDF in the joining program) come from dpkg-shlibdeps.
# What the program loads or reads without linking is named here: Qt's X11
# platform plugin, and the metric-compatible faces that stand in for the
# window layouts' Arial and Times New Roman. (The program uses Qt's own font
# classes, which keep their shape only within one Qt release; Debian's Qt
# marks them so that dpkg-shlibdeps names that release, qt6-base-abi.)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation")
# Without a print server the program prints into PDF files.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cups")
# Qt's own texts (the buttons of a message box) in the user's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")

# Debian wants a changelog in every package. Its entry is signed by the
# maintainer, who is known only when cpack runs, so it is written then, into
# the staged tree.
set(CPACK_GLYPHORA_CHANGELOG_TEMPLATE ${PROJECT_SOURCE_DIR}/data/debian/changelog.in)
set(CPACK_GLYPHORA_RELEASE_DATE ${GLYPHORA_RELEASE_DATE})
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/DebianChangelog.cmake)

include(CPack)
