// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "desktop/notifier.h"

#include <QStringList>

// Records the path of every filed sheet it is told about.
class FakeNotifier : public Notifier
{
public:
    QStringList filed;

    void sheetFiled(const QString &path) override { filed.append(path); }
};
