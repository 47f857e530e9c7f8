// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QWidget;

// Asks an X window manager for a tool window's frame: a title bar with no
// close box, window menu, minimise or maximise button, a window that cannot
// be resized, and no button in the task bar. Qt says only part of this for
// Qt::Tool, so the hints are written here, on the window before it is
// mapped. Does nothing on other platforms.
//
// Call it before every show(): a window manager drops the window's state
// list each time the window is withdrawn.
void markAsToolWindow(QWidget *window);
