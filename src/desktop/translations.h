// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Installs the program's texts in the language of the user's locale
// (LANGUAGE, LC_ALL, LC_MESSAGES, LANG), and Qt's own texts (the buttons of
// a message box, the command line's errors) where Debian has them. Under
// the C locale or English nothing is installed: the texts stay the
// program's own English. Call it once the application object exists.
void installTranslations();
