// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fake_screen.h"

#include <QFont>

#include <stdexcept>

void FakeScreen::setMousePointer(Pointer pointer)
{
    m_pointer = pointer;
    pointers.append(pointer);
    if (journal)
        journal->append(pointer == Pointer::Busy ? QStringLiteral("MousePointer=Busy")
                                                 : QStringLiteral("MousePointer=Default"));
}

bool FakeScreen::drawsOwnFace(const QFont &font)
{
    return !unavailable.contains(font.family());
}

bool FakeScreen::canDrawFont(const QString &family)
{
    if (broken.contains(family))
        throw std::runtime_error(broken.value(family).toStdString());
    return !printerOnly.contains(family);
}
