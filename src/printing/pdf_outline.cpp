// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "printing/pdf_outline.h"

#include "desktop/program_name.h"

#include <QCoreApplication>
#include <QTextBoundaryFinder>

#include <optional>

namespace {

constexpr const char *Subject = QT_TRANSLATE_NOOP("PdfOutline", "Fonts: %1");
// Points to a hundredth, finer than any reader places a page.
constexpr int TopDecimals = 2;

// The letter an entry goes under: its title's first character as the reader
// sees it (a base letter with its marks), in capitals, so that "arial" and
// "Arial" go together.
QString firstLetter(const QString &title)
{
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, title);
    const qsizetype end = graphemes.toNextBoundary();
    return title.left(end < 0 ? 0 : end).toUpper();
}

// One line of the description holds one title: control characters, which
// no reader shows in an outline, become blanks.
QByteArray titleText(QString title)
{
    for (QChar &c : title) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = QLatin1Char(' ');
    }
    return title.toUtf8();
}

QByteArray entryLine(int depth, int page, double top, const QString &title)
{
    return "entry " + QByteArray::number(depth) + ' ' + QByteArray::number(page) + ' '
        + QByteArray::number(top, 'f', TopDecimals) + ' ' + titleText(title) + '\n';
}

} // namespace

void PdfOutline::add(const QString &title, int page, double top)
{
    m_entries.append({title, page, top});
}

void PdfOutline::truncate(int count)
{
    if (count < size())
        m_entries.resize(count);
}

QByteArray PdfOutline::description() const
{
    QByteArray text = "info Subject "
        + titleText(QCoreApplication::translate("PdfOutline", Subject).arg(size())) + '\n'
        + "info Creator "
        + titleText(QString::fromLatin1(ProgramName::Text) + QLatin1Char(' ') + QStringLiteral(GLYPHORA_VERSION))
        + '\n';
    const bool grouped = size() > GroupAbove;
    std::optional<QString> group;
    for (const Entry &entry : m_entries) {
        if (grouped) {
            // A letter that comes again after others starts a group again:
            // the outline keeps the list's order.
            const QString letter = firstLetter(entry.title);
            if (letter != group)
                text += entryLine(0, entry.page, entry.top, letter);
            group = letter;
        }
        text += entryLine(grouped ? 1 : 0, entry.page, entry.top, entry.title);
    }
    return text;
}
