// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Reading PDFs back with poppler's command-line tools.

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QtDebug>

#include <cmath>
#include <utility>

// The standard output of a tool; a failure is logged with its error output.
inline QString toolOutput(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        qWarning() << program << arguments << process.readAllStandardError();
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline QString pdfText(const QString &pdf, bool layout = false)
{
    QStringList arguments = {pdf, QStringLiteral("-")};
    if (layout)
        arguments.prepend(QStringLiteral("-layout"));
    return toolOutput(QStringLiteral("pdftotext"), arguments);
}

// The fonts a PDF uses, each as its base name without a subset tag and
// whether it is embedded: "URWGothic-Book yes".
inline QStringList pdfFonts(const QString &pdf)
{
    static const QRegularExpression subsetTag(QStringLiteral("^[A-Z]{6}\\+"));
    QStringList fonts;
    const QStringList lines = toolOutput(QStringLiteral("pdffonts"), {pdf}).split(QLatin1Char('\n'));
    // Two heading lines; the name may hold blanks, the last five columns do not.
    for (const QString &line : lines.mid(2)) {
        const QStringList columns = line.simplified().split(QLatin1Char(' '));
        if (columns.size() >= 6)
            fonts.append(QString(columns.first()).remove(subsetTag) + QLatin1Char(' ')
                         + columns.at(columns.size() - 5));
    }
    return fonts;
}

// A word as pdftotext -bbox places it, in points from the page's top left.
struct PdfWord
{
    int page;
    QString text;
    QRectF box;
};

inline QList<PdfWord> pdfWords(const QString &pdf)
{
    static const QRegularExpression tag(QStringLiteral(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    const QString html = toolOutput(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    QList<PdfWord> words;
    int page = 0;
    for (const QRegularExpressionMatch &m : tag.globalMatch(html)) {
        if (m.captured(0) == QLatin1String("<page ")) {
            ++page;
            continue;
        }
        const QPointF topLeft(m.captured(1).toDouble(), m.captured(2).toDouble());
        const QPointF bottomRight(m.captured(3).toDouble(), m.captured(4).toDouble());
        words.append({page, m.captured(5), QRectF(topLeft, bottomRight)});
    }
    return words;
}

// A line of text in one font as pdftohtml -xml finds it, with the font's
// base name (no subset tag) and its size in points.
struct PdfTextRun
{
    int page;
    double top;
    QString font;
    int points;
    QString text;
};

inline QList<PdfTextRun> pdfTextRuns(const QString &pdf)
{
    static const QRegularExpression tag(QStringLiteral(
        R"re(<page number="(\d+)"|<fontspec id="(\d+)" size="(\d+)" family="(?:[A-Z]{6}\+)?([^"]*)"|<text top="(-?\d+)"[^>]* font="(\d+)">(.*)</text>)re"));
    static const QRegularExpression markup(QStringLiteral("<[^>]*>"));
    const QString xml = toolOutput(QStringLiteral("pdftohtml"),
                                   {QStringLiteral("-xml"), QStringLiteral("-i"), QStringLiteral("-stdout"),
                                    QStringLiteral("-zoom"), QStringLiteral("1"), pdf});
    // Font ids run on across pages.
    QHash<QString, std::pair<QString, int>> fonts;
    QList<PdfTextRun> runs;
    int page = 0;
    for (const QRegularExpressionMatch &m : tag.globalMatch(xml)) {
        if (!m.captured(1).isEmpty()) {
            page = m.captured(1).toInt();
        } else if (!m.captured(2).isEmpty()) {
            fonts.insert(m.captured(2), {m.captured(4), m.captured(3).toInt()});
        } else {
            const auto font = fonts.value(m.captured(6));
            QString text = m.captured(7).remove(markup);
            text.replace(QLatin1String("&lt;"), QLatin1String("<"))
                .replace(QLatin1String("&gt;"), QLatin1String(">"))
                .replace(QLatin1String("&quot;"), QLatin1String("\""))
                .replace(QLatin1String("&amp;"), QLatin1String("&"));
            const double top = m.captured(5).toDouble();
            // pdftohtml breaks a line where one glyph's box stands higher
            // than the others' (a blank, in some faces).
            if (!runs.isEmpty() && runs.last().page == page && runs.last().font == font.first
                && runs.last().points == font.second && std::abs(runs.last().top - top) < font.second / 2.0) {
                runs.last().text += text;
                continue;
            }
            runs.append({page, top, font.first, font.second, text});
        }
    }
    return runs;
}

// An entry of a PDF's outline as qpdf reads it: its title, the page it
// points at (from 1), the height there in points from the page's bottom
// edge, whether it shows its entries, and the entries under it.
struct PdfOutlineEntry
{
    QString title;
    int page;
    double y;
    bool open;
    QList<PdfOutlineEntry> kids;
};

inline QList<PdfOutlineEntry> pdfOutlineEntries(const QJsonArray &items)
{
    QList<PdfOutlineEntry> entries;
    for (const QJsonValue &value : items) {
        const QJsonObject item = value.toObject();
        const QJsonArray dest = item.value(QLatin1String("dest")).toArray();
        entries.append({item.value(QLatin1String("title")).toString(),
                        item.value(QLatin1String("destpageposfrom1")).toInt(), dest.at(3).toDouble(),
                        item.value(QLatin1String("open")).toBool(),
                        pdfOutlineEntries(item.value(QLatin1String("kids")).toArray())});
    }
    return entries;
}

inline QList<PdfOutlineEntry> pdfOutline(const QString &pdf)
{
    const QString json = toolOutput(QStringLiteral("qpdf"), {QStringLiteral("--json"),
                                                             QStringLiteral("--json-key=outlines"), pdf});
    return pdfOutlineEntries(
        QJsonDocument::fromJson(json.toUtf8()).object().value(QLatin1String("outlines")).toArray());
}
