#pragma once

// Reading PDFs back with poppler's command-line tools.

#include <QList>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QtDebug>

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
