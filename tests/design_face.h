// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The check that both windows' layout tests make of a control's font.

#include <QFont>
#include <QFontInfo>
#include <QTest>

// The design's size, bold and upright. Where the design face is missing, a
// metric-compatible one draws it; Qt is asked for that face by name, which
// borrows only what it lacks from other faces, unless it is a sample that
// draws alone. A caller checks QTest::currentTestFailed() afterwards.
inline void verifyDesignFace(const QFont &font, const QString &family, double points, bool alone = false)
{
    QCOMPARE(font.pointSizeF(), points);
    QVERIFY(font.bold());
    QVERIFY(!font.italic());
    QVERIFY2(font.family() == family || font.family().startsWith(QLatin1String("Liberation")),
             qPrintable(font.family()));
    QCOMPARE(QFontInfo(font).family(), font.family());
    QCOMPARE(bool(font.styleStrategy() & QFont::NoFontMerging), alone);
}
