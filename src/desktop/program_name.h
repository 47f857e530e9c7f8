// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QCoreApplication>
#include <QString>

// The program's name. Shown as a title (the main window's title and title
// label, message boxes) it goes through the translations, in a context of
// its own, so that every place shows it alike. Used as a key (the settings
// store's application, Qt's application name) it stays as written: what was
// stored under it must be found again in any language.
namespace ProgramName {

inline constexpr const char *Context = "ProgramName";
inline constexpr const char *Text = QT_TRANSLATE_NOOP("ProgramName", "Glyphora");

inline QString title()
{
    return QCoreApplication::translate(Context, Text);
}

} // namespace ProgramName
