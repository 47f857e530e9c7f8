// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fake_screen.h"

void FakeScreen::setMousePointer(int code)
{
    m_pointer = code;
    pointerCodes.append(code);
    if (journal)
        journal->append(QStringLiteral("MousePointer=%1").arg(code));
}
