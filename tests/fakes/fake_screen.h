// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "desktop/screen.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QStringList>

// A screen that records the pointers written and can draw every face but
// the ones listed in printerOnly, each in its own face but the ones listed
// in unavailable. Asking about a face listed in broken fails with its text.
class FakeScreen : public Screen
{
public:
    QSet<QString> printerOnly;
    QSet<QString> unavailable;
    QHash<QString, QString> broken;
    QList<Pointer> pointers;
    QStringList *journal = nullptr;

    void setMousePointer(Pointer pointer) override;
    Pointer mousePointer() const override { return m_pointer; }
    bool canDrawFont(const QString &family) override;
    bool fontAvailable(const QString &family) override { return !unavailable.contains(family); }
    bool drawsOwnFace(const QFont &font) override;

private:
    Pointer m_pointer = Pointer::Default;
};
