// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fonts/ppd_fonts.h"

#include <QStringDecoder>

#include <cups/cups.h>
#include <cups/ppd.h>

#include <unistd.h>

QString ppdText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

// libcups marks its PPD calls deprecated in favour of IPP attributes, but the
// resident font list is only to be had from the PPD.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

QStringList residentFontsOfPpdFile(const QByteArray &path)
{
    QStringList fonts;
    ppd_file_t *ppd = ppdOpenFile(path.constData());
    if (!ppd)
        return fonts;
    fonts.reserve(ppd->num_fonts);
    for (int i = 0; i < ppd->num_fonts; ++i)
        fonts.append(ppdText(QByteArray(ppd->fonts[i])));
    ppdClose(ppd);
    return fonts;
}

QStringList residentFontsOfQueue(const QString &queue)
{
    // The copy that cupsGetPPD2 leaves in the temporary folder (or a link to
    // the server's own file) is ours to remove.
    const char *copy = cupsGetPPD2(CUPS_HTTP_DEFAULT, queue.toUtf8().constData());
    if (!copy)
        return {};
    const QByteArray path(copy);
    const QStringList fonts = residentFontsOfPpdFile(path);
    ::unlink(path.constData());
    return fonts;
}

#pragma GCC diagnostic pop
