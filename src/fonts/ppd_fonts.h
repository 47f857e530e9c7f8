// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The printer-resident fonts that a queue's PPD lists in its *Font entries,
// usually PostScript names such as "AvantGarde-Book". The names come back
// exactly as the PPD has them, duplicates included. A queue without a PPD,
// or a server that cannot be reached, gives an empty list.
QStringList residentFontsOfQueue(const QString &queue);

// The same for a PPD file on disk; an unreadable file gives an empty list.
QStringList residentFontsOfPpdFile(const QByteArray &path);

// PPD text is meant to be ASCII, but drivers write whatever their makers'
// machines used: UTF-8 where it is valid, otherwise read as Latin-1, so that
// every byte still becomes some character.
QString ppdText(const QByteArray &bytes);
