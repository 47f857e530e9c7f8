// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <exception>

class QFont;

// The screen: the mouse pointer shown over the program's windows, and the
// faces that the screen can draw.
class Screen
{
public:
    // The mouse pointer over the program's windows.
    enum class Pointer { Default, Busy };

    virtual ~Screen() = default;

    // A plain setting, not a stack: the last pointer written is in force.
    virtual void setMousePointer(Pointer pointer) = 0;
    virtual Pointer mousePointer() const = 0;

    // True only for a family that the screen's font database really has;
    // the toolkit's silent substitution does not count.
    virtual bool canDrawFont(const QString &family) = 0;

    // False for a family whose face files are gone or have changed since
    // the font list was read, and, once its font is set up, for one that
    // is drawn in another face: such a family stays unavailable for the run.
    virtual bool fontAvailable(const QString &family) = 0;
    virtual bool drawsOwnFace(const QFont &font) = 0;
};

// Shows the busy pointer for work that keeps the user waiting, from its
// making until the work's scope is left, by whichever return. A failure on
// its way out leaves the busy pointer to whoever catches it: that handler
// tells the user first and then puts the window back, pointer and all, and
// a program that ends there changes nothing more.
class BusyPointer
{
public:
    explicit BusyPointer(Screen &screen)
        : m_screen(screen)
        , m_failuresUnderWay(std::uncaught_exceptions())
    {
        m_screen.setMousePointer(Screen::Pointer::Busy);
    }
    ~BusyPointer()
    {
        if (std::uncaught_exceptions() == m_failuresUnderWay)
            m_screen.setMousePointer(Screen::Pointer::Default);
    }
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;

private:
    Screen &m_screen;
    int m_failuresUnderWay;
};
