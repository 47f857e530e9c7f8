// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QWidget>

// A control of a window, found by its object name as the window's design
// names it, the way a screen reader or a test tool finds it.
template <typename Control = QWidget>
Control *control(const QWidget &window, const char *name)
{
    return window.findChild<Control *>(QString::fromLatin1(name));
}
