// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// The screen: the mouse pointer shown over the program's windows, and the
// faces that the screen can draw.
class Screen
{
public:
    static constexpr int DefaultPointer = 0;
    static constexpr int BusyPointer = 11;

    virtual ~Screen() = default;

    // A plain setting, not a stack: the last code written is in force.
    virtual void setMousePointer(int code) = 0;
    virtual int mousePointer() const = 0;

    // True only for a family that the screen's font database really has;
    // the toolkit's silent substitution does not count.
    virtual bool canDrawFont(const QString &family) = 0;
};
