// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "desktop/screen.h"

class FontCatalogue;

// The screen of the running Qt application, which draws the families of
// the catalogue.
class SystemScreen : public Screen
{
public:
    explicit SystemScreen(FontCatalogue &fonts);

    void setMousePointer(Pointer pointer) override;
    Pointer mousePointer() const override;
    bool canDrawFont(const QString &family) override;
    bool fontAvailable(const QString &family) override;
    bool drawsOwnFace(const QFont &font) override;

private:
    FontCatalogue &m_fonts;
    Pointer m_pointer = Pointer::Default;
};
