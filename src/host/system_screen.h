// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "host/font_families.h"
#include "host/screen.h"

// The screen of the running Qt application.
class SystemScreen : public Screen
{
public:
    SystemScreen();

    void setMousePointer(int code) override;
    int mousePointer() const override;
    bool canDrawFont(const QString &family) override;

private:
    int m_pointer = DefaultPointer;
};
