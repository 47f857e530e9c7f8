// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "desktop/system_screen.h"

#include "fonts/font_catalogue.h"

#include <QCursor>
#include <QGuiApplication>

SystemScreen::SystemScreen(FontCatalogue &fonts)
    : m_fonts(fonts)
{
}

void SystemScreen::setMousePointer(Pointer pointer)
{
    // Qt keeps override cursors on a stack; the pointer here is a plain
    // setting, so there is never more than one override in place.
    if (pointer == Pointer::Busy) {
        if (QGuiApplication::overrideCursor())
            QGuiApplication::changeOverrideCursor(QCursor(Qt::WaitCursor));
        else
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    } else {
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
    }
    m_pointer = pointer;
}

Screen::Pointer SystemScreen::mousePointer() const
{
    return m_pointer;
}

bool SystemScreen::canDrawFont(const QString &family)
{
    return m_fonts.draws(family);
}

bool SystemScreen::fontAvailable(const QString &family)
{
    return m_fonts.faceAvailable(family);
}

bool SystemScreen::drawsOwnFace(const QFont &font)
{
    if (m_fonts.drawsInOwnFace(font))
        return true;
    m_fonts.setFaceUnavailable(font.family());
    return false;
}
