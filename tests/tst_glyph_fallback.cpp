// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Which face draws each character: the program's own text draws what its
// face has in that face and borrows the rest from a face that has it, in
// the right order; a sample line borrows nothing, on screen or on paper.
// The fonts are the tests' own and a Chinese face (fonts-wqy-zenhei).

#include "fake_notifier.h"
#include "fonts/font_catalogue.h"
#include "fonts/process_font_state.h"
#include "pdf_tools.h"
#include "printing/system_printer.h"

#include <QDate>
#include <QGlyphRun>
#include <QDir>
#include <QLocale>
#include <QPainter>
#include <QRawFont>
#include <QTemporaryDir>
#include <QTest>
#include <QTextLayout>

#include <algorithm>

class tst_GlyphFallback : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void eachCharacter_data();
    void eachCharacter();
    void rightToLeft();
    void onPaper_data();
    void onPaper();

private:
    QTemporaryDir m_home;
    ProcessFontState m_fontState;
    FontCatalogue m_fonts{m_fontState};
};

void tst_GlyphFallback::initTestCase()
{
    QVERIFY(m_home.isValid());
    qputenv("HOME", QFile::encodeName(m_home.path()));
    QVERIFY(m_fonts.fallbackFamilies().contains(QStringLiteral("WenQuanYi Zen Hei")));
}

void tst_GlyphFallback::eachCharacter_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("sample");

    const auto date = [](const char *locale) {
        return QLocale(QString::fromLatin1(locale)).toString(QDate(2026, 12, 9), QLocale::ShortFormat);
    };
    QTest::newRow("Chinese name") << "文泉驿正黑" << false;
    QTest::newRow("user text") << "你好世界 Hello Привет Ωμέγα שלום" << false;
    QTest::newRow("Arabic name") << "نسخ كوفي 671" << false;
    QTest::newRow("date under ja_JP") << date("ja_JP") << false;
    QTest::newRow("date under ar_EG") << date("ar_EG") << false;
    QTest::newRow("sample line") << "文泉驿正黑 Hello" << true;
}

void tst_GlyphFallback::eachCharacter()
{
    QFETCH(QString, text);
    QFETCH(bool, sample);

    QFont font;
    font.setFamily(FontCatalogue::CaptionFamily);
    font = sample ? m_fonts.standaloneFont(font) : m_fonts.textFont(font);
    const QRawFont own = QRawFont::fromFont(m_fonts.standaloneFont(font));
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        // Direction marks draw nothing.
        if (c.isSpace() || c.category() == QChar::Other_Format)
            continue;
        const QList<QGlyphRun> runs = layout.glyphRuns(i, 1);
        QCOMPARE(runs.size(), 1);
        const QRawFont drawing = runs.first().rawFont();
        // The own face draws what it has, and a sample all of it; the rest
        // comes from a face that has it.
        if (sample || own.supportsCharacter(c))
            QCOMPARE(drawing.familyName(), own.familyName());
        else
            QVERIFY2(drawing.supportsCharacter(c), qPrintable(QString(c) + " from " + drawing.familyName()));
    }

    // What the own face draws looks as it does alone.
    QImage alone(400, 40, QImage::Format_RGB32);
    QImage merged = alone;
    for (auto [image, f] : {std::pair{&alone, m_fonts.standaloneFont(font)}, std::pair{&merged, font}}) {
        image->fill(Qt::white);
        QPainter painter(image);
        painter.setFont(f);
        painter.drawText(QPointF(2, 30), QStringLiteral("All Available Fonts — Grüße"));
    }
    QCOMPARE(merged, alone);
}

void tst_GlyphFallback::rightToLeft()
{
    QFont font;
    font.setFamily(FontCatalogue::CaptionFamily);
    const QString word = QStringLiteral("كوفي");
    QTextLayout layout(word, m_fonts.textFont(font));
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    // Read from the right: the first letter stands right of the last.
    QVERIFY(line.cursorToX(0) > line.cursorToX(word.size() - 1));
    // The letters join: some shaped glyphs are none of their own forms.
    const QGlyphRun run = layout.glyphRuns().first();
    const QList<quint32> own = run.rawFont().glyphIndexesForString(word);
    const QList<quint32> shaped = run.glyphIndexes();
    QVERIFY(std::any_of(shaped.begin(), shaped.end(), [&](quint32 glyph) { return !own.contains(glyph); }));
}

void tst_GlyphFallback::onPaper_data()
{
    QTest::addColumn<bool>("fallback");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("runs");

    QTest::newRow("caption") << true << "(文泉驿正黑)"
                             << QStringList{"LiberationSans (", "WenQuanYiZenHei 文泉驿正黑", "LiberationSans )"};
    // Its missing-glyph marks are no text that a reader could find.
    QTest::newRow("sample line") << false << "文泉驿正黑" << QStringList();
}

void tst_GlyphFallback::onPaper()
{
    QFETCH(bool, fallback);
    QFETCH(QString, line);
    QFETCH(QStringList, runs);

    QDir(m_home.filePath(QStringLiteral("Documents"))).removeRecursively();
    FakeNotifier notifier;
    SystemPrinter printer(m_fonts, notifier);
    printer.setGlyphFallback(fallback);
    printer.setFontName(FontCatalogue::CaptionFamily);
    printer.printLine(line);
    printer.finish();
    QCOMPARE(notifier.filed.size(), 1);
    QStringList drawn;
    for (const PdfTextRun &run : pdfTextRuns(notifier.filed.first()))
        drawn.append(run.font + QLatin1Char(' ') + run.text);
    QCOMPARE(drawn, runs);
    QCOMPARE(pdfFonts(notifier.filed.first()).join(' ').contains("WenQuanYi"), fallback);
}

QTEST_MAIN(tst_GlyphFallback)
#include "tst_glyph_fallback.moc"
