// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "program/platform_choice.h"

#include <cstring>

namespace {

// Qt's own options that name a platform or an X11 display; Qt takes them
// with one dash or two.
bool isOption(const char *argument, const char *name)
{
    if (argument[0] != '-')
        return false;
    const char *bare = argument[1] == '-' ? argument + 2 : argument + 1;
    return std::strcmp(bare, name) == 0;
}

char XcbPlatformOption[] = "-platform";
char XcbPlatformName[] = "xcb";

} // namespace

PlatformChoice::PlatformChoice(int argc, char **argv, const Environment &environment)
{
    bool platformNamed = !environment("QT_QPA_PLATFORM").isEmpty();
    bool displayNamed = false;
    for (int i = 1; i < argc; ++i) {
        platformNamed = platformNamed || isOption(argv[i], "platform");
        displayNamed = displayNamed || isOption(argv[i], "display");
    }
    const bool x11 = !environment("DISPLAY").isEmpty() || displayNamed;
    const bool wayland = !environment("WAYLAND_DISPLAY").isEmpty()
        || environment("XDG_SESSION_TYPE") == QByteArrayLiteral("wayland");
    m_hasDisplay = platformNamed || x11 || wayland;

    m_argv.assign(argv, argv + argc);
    if (argc > 0 && !platformNamed && x11 && wayland) {
        m_forced = XcbPlatformName;
        m_argv.insert(m_argv.begin() + 1, {XcbPlatformOption, XcbPlatformName});
    }
    m_argc = static_cast<int>(m_argv.size());
    // Like main()'s own argv, the list ends with a null pointer.
    m_argv.push_back(nullptr);
}
