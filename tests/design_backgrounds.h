// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The check that both windows' tests make of the controls' backgrounds.

#include <QImage>
#include <QPalette>
#include <QTest>
#include <QWidget>

// A control whose design colour is the one already painted beneath it
// leaves its background to what lies beneath. The window must look exactly
// as it does with every such control filling its own background, as the
// design has it; at least one control must be of that kind, or the check
// would prove nothing. A caller checks QTest::currentTestFailed() afterwards.
inline void verifyBackgroundsAsDesigned(QWidget *window)
{
    const QImage shared = window->grab().toImage();
    QList<QWidget *> leftToBeneath;
    for (QWidget *control : window->findChildren<QWidget *>()) {
        if (!control->autoFillBackground() && control->palette().isBrushSet(QPalette::Active, QPalette::Window))
            leftToBeneath.append(control);
    }
    QVERIFY(!leftToBeneath.isEmpty());
    for (QWidget *control : leftToBeneath)
        control->setAutoFillBackground(true);
    const QImage ownBackgrounds = window->grab().toImage();
    for (QWidget *control : leftToBeneath)
        control->setAutoFillBackground(false);
    QCOMPARE(shared, ownBackgrounds);
}
