// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "host/system_screen.h"

#include <QCursor>
#include <QGuiApplication>

#include <fontconfig/fontconfig.h>

SystemScreen::SystemScreen()
{
    // fontconfig looks every 30 seconds whether a font folder changed, in
    // the first font lookup after that time: with some 1,500 families that
    // lookup, in practice a click on a font, takes 10 to 20 ms longer. Qt
    // reads the font list once, at start, so the check buys nothing here.
    FcConfigSetRescanInterval(FcConfigGetCurrent(), 0);
}

void SystemScreen::setMousePointer(int code)
{
    // Qt keeps override cursors on a stack; the pointer here is a plain
    // setting, so there is never more than one override in place.
    if (code == BusyPointer) {
        if (QGuiApplication::overrideCursor())
            QGuiApplication::changeOverrideCursor(QCursor(Qt::WaitCursor));
        else
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    } else {
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
    }
    m_pointer = code == BusyPointer ? BusyPointer : DefaultPointer;
}

int SystemScreen::mousePointer() const
{
    return m_pointer;
}

bool SystemScreen::canDrawFont(const QString &family)
{
    return drawableFamilies().contains(family);
}
