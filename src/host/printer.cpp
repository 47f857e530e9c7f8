// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "host/printer.h"

#include <limits>

void Printer::setFontSize(const QString &pointsText)
{
    bool ok = false;
    const double points = pointsText.trimmed().toDouble(&ok);
    setFontSize(ok ? points : std::numeric_limits<double>::quiet_NaN());
}
