// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>

#include <functional>
#include <vector>

// Which windowing system the program runs on, settled before Qt starts.
//
// In a Wayland session that also offers XWayland the program runs as an X11
// client: on Wayland a window cannot place itself, and the progress window's
// tool-window frame (no close box, no task-bar button) is an X11 hint that
// a Wayland compositor does not read. Without XWayland it runs on Wayland,
// where the compositor places both windows. A platform that the user names
// (QT_QPA_PLATFORM or -platform) always wins.
class PlatformChoice
{
public:
    using Environment = std::function<QByteArray(const char *name)>;

    // argv as main() got it; environment reads a variable ("" when unset).
    PlatformChoice(int argc, char **argv, const Environment &environment);

    // The arguments to construct the application with: argv, with
    // "-platform xcb" added when XWayland is chosen. They stay valid as long
    // as this object.
    int &argc() { return m_argc; }
    char **argv() { return m_argv.data(); }

    // The platform added to the arguments, or "" when Qt chooses.
    QByteArray forcedPlatform() const { return m_forced; }

    // Whether there is a display to show windows on at all (else Qt would
    // abort with a bare "could not load the platform plugin").
    bool hasDisplay() const { return m_hasDisplay; }

private:
    QByteArray m_forced;
    bool m_hasDisplay = false;
    int m_argc = 0;
    std::vector<char *> m_argv;
};
