// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// Tells the user, outside the program's windows, about work done for them.
// It never blocks and never fails: where the desktop has no way to show the
// news, nothing is shown.
class Notifier
{
public:
    virtual ~Notifier() = default;

    // A font sheet was saved as the file at path rather than printed.
    virtual void sheetFiled(const QString &path) = 0;
};
