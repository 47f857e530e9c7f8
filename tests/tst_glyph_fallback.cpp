// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Which face draws each character: the program's own text borrows what its
// design face lacks from the face that has it, in the right order for
// right-to-left scripts; a sample line borrows nothing, on screen or paper.
// The fonts are the tests' own and a Chinese face (fonts-wqy-zenhei).

#include "fake_notifier.h"
#include "fonts/font_catalogue.h"
#include "pdf_tools.h"
#include "printing/system_printer.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QLocale>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <QTemporaryDir>
#include <QTest>
#include <QTextLayout>

namespace {

const QString Design = QStringLiteral("Liberation Sans");
const QString Chinese = QStringLiteral("WenQuanYi Zen Hei");

QFont designFont()
{
    QFont font;
    font.setFamily(FontCatalogue::CaptionFamily);
    font.setPointSizeF(9);
    return font;
}

// The family of the face that draws each character of text but blanks, as
// Qt lays it out for the screen.
QStringList drawingFaces(const QString &text, const QFont &font)
{
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    QStringList faces;
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i).isSpace())
            continue;
        const QList<QGlyphRun> runs = layout.glyphRuns(i, 1);
        faces.append(runs.size() == 1 ? runs.first().rawFont().familyName() : QStringLiteral("?"));
    }
    return faces;
}

QImage drawn(const QString &text, const QFont &font)
{
    QImage image(400, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.drawText(QPointF(2, 30), text);
    return image;
}

} // namespace

class tst_GlyphFallback : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void faceOfEachCharacter_data();
    void faceOfEachCharacter();
    void latinDrawsAsBefore();
    void datesReadable_data();
    void datesReadable();
    void rightToLeft_data();
    void rightToLeft();
    void onPaper_data();
    void onPaper();

private:
    QTemporaryDir m_home;
    FontCatalogue m_fonts;
};

void tst_GlyphFallback::initTestCase()
{
    QVERIFY(m_home.isValid());
    qputenv("HOME", QFile::encodeName(m_home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(QStringLiteral(".config"))));
    QVERIFY(m_fonts.fallbackFamilies().contains(Chinese));
    // The faces named below are the ones that have the characters.
    QVERIFY(QRawFont::fromFont(m_fonts.standaloneFont(Chinese)).supportsCharacter(U'泉'));
    QVERIFY(!QRawFont::fromFont(m_fonts.standaloneFont(Design)).supportsCharacter(U'泉'));
    QVERIFY(!QRawFont::fromFont(m_fonts.standaloneFont(Design)).supportsCharacter(U'ש'));
}

void tst_GlyphFallback::faceOfEachCharacter_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("sample");
    QTest::addColumn<QStringList>("faces");

    const QStringList chinese(5, Chinese);
    QTest::newRow("Latin name") << "Liberation Mono" << false << QStringList(14, Design);
    QTest::newRow("Chinese name") << "文泉驿正黑" << false << chinese;
    QTest::newRow("user text in three scripts")
        << "你好 Hi Ωμ" << false
        << QStringList{Chinese, Chinese, Design, Design, Design, Design};
    QTest::newRow("Hebrew, borrowed where the design face has none")
        << "שלום 42" << false << QStringList{"DejaVu Sans", "DejaVu Sans", "DejaVu Sans", "DejaVu Sans", Design, Design};
    QTest::newRow("sample line: the face's own marks") << "文泉驿正黑" << true << QStringList(5, Design);
}

void tst_GlyphFallback::faceOfEachCharacter()
{
    QFETCH(QString, text);
    QFETCH(bool, sample);
    QFETCH(QStringList, faces);

    const QFont font = sample ? m_fonts.standaloneFont(designFont()) : m_fonts.textFont(designFont());
    QCOMPARE(drawingFaces(text, font), faces);
}

void tst_GlyphFallback::latinDrawsAsBefore()
{
    // The design face draws what it has exactly as it does alone.
    const QString text = QStringLiteral("All Available Fonts — Grüße, Ωμέγα, Привет");
    QCOMPARE(drawn(text, m_fonts.textFont(designFont())), drawn(text, m_fonts.standaloneFont(designFont())));
}

void tst_GlyphFallback::datesReadable_data()
{
    QTest::addColumn<QString>("locale");

    QTest::newRow("Japanese") << "ja_JP";
    QTest::newRow("Arabic, Egypt") << "ar_EG";
    QTest::newRow("Chinese") << "zh_CN";
}

void tst_GlyphFallback::datesReadable()
{
    QFETCH(QString, locale);

    // The sheet's heading, in the caption face: each character is drawn by
    // a face that has it.
    const QString heading = QStringLiteral("Glyphora Font Sheet ")
        + QLocale(locale).toString(QDate(2026, 12, 9), QLocale::ShortFormat);
    QTextLayout layout(heading, m_fonts.textFont(designFont()));
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    for (int i = 0; i < heading.size(); ++i) {
        // Direction marks draw nothing.
        if (heading.at(i).isSpace() || heading.at(i).category() == QChar::Other_Format)
            continue;
        const QList<QGlyphRun> runs = layout.glyphRuns(i, 1);
        QVERIFY2(runs.size() == 1 && runs.first().rawFont().supportsCharacter(heading.at(i)),
                 qPrintable(heading.mid(i, 1)));
    }
}

void tst_GlyphFallback::rightToLeft_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("joins");

    QTest::newRow("Arabic name") << "نسخ كوفي" << true;
    QTest::newRow("Hebrew") << "שלום עולם" << false;
}

void tst_GlyphFallback::rightToLeft()
{
    QFETCH(QString, text);
    QFETCH(bool, joins);

    QTextLayout layout(text, m_fonts.textFont(designFont()));
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    // Read from the right: the first character stands right of the last.
    QVERIFY(line.cursorToX(0) > line.cursorToX(text.size() - 1));
    // Arabic letters join: some shaped glyphs are none of the letters' own
    // forms.
    const QList<QGlyphRun> runs = layout.glyphRuns(0, text.indexOf(QLatin1Char(' ')));
    QCOMPARE(runs.size(), 1);
    const QList<quint32> isolated = runs.first().rawFont().glyphIndexesForString(text.section(QLatin1Char(' '), 0, 0));
    const QList<quint32> shaped = runs.first().glyphIndexes();
    QCOMPARE(std::any_of(shaped.begin(), shaped.end(), [&](quint32 g) { return !isolated.contains(g); }), joins);
}

void tst_GlyphFallback::onPaper_data()
{
    QTest::addColumn<bool>("fallback");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("fonts");
    QTest::addColumn<QStringList>("runs");

    QTest::newRow("caption") << true << "(文泉驿正黑)"
                             << QStringList{"LiberationSans yes", "WenQuanYiZenHei yes"}
                             << QStringList{"LiberationSans (", "WenQuanYiZenHei 文泉驿正黑", "LiberationSans )"};
    // Its missing-glyph marks are no text that a reader could find.
    QTest::newRow("sample line") << false << "文泉驿正黑" << QStringList{"LiberationSans yes"} << QStringList();
}

void tst_GlyphFallback::onPaper()
{
    QFETCH(bool, fallback);
    QFETCH(QString, name);
    QFETCH(QStringList, fonts);
    QFETCH(QStringList, runs);

    const QDir documents(m_home.filePath(QStringLiteral("Documents")));
    QDir(documents).removeRecursively();
    FakeNotifier notifier;
    {
        SystemPrinter printer(m_fonts, notifier);
        printer.setGlyphFallback(fallback);
        printer.setFontName(FontCatalogue::CaptionFamily);
        printer.setFontSize(8);
        printer.printLine(name);
        printer.finish();
    }
    QCOMPARE(notifier.filed.size(), 1);
    QStringList used = pdfFonts(notifier.filed.first());
    used.sort();
    QCOMPARE(used, fonts);
    QStringList drawn;
    for (const PdfTextRun &run : pdfTextRuns(notifier.filed.first()))
        drawn.append(run.font + QLatin1Char(' ') + run.text);
    QCOMPARE(drawn, runs);
}

QTEST_MAIN(tst_GlyphFallback)
#include "tst_glyph_fallback.moc"
