// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "host/screen.h"

#include <QList>
#include <QSet>
#include <QStringList>

// A screen that records the pointer codes written and can draw every face
// but the ones listed in printerOnly.
class FakeScreen : public Screen
{
public:
    QSet<QString> printerOnly;
    QList<int> pointerCodes;
    QStringList *journal = nullptr;

    void setMousePointer(int code) override;
    int mousePointer() const override { return m_pointer; }
    bool canDrawFont(const QString &family) override { return !printerOnly.contains(family); }

private:
    int m_pointer = DefaultPointer;
};
