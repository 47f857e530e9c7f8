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
#include "private_home.h"
#include "printing/system_printer.h"

#include <QDate>
#include <QGlyphRun>
#include <QDir>
#include <QLocale>
#include <QPainter>
#include <QRawFont>
#include <QTest>
#include <QTextLayout>

#include <algorithm>

namespace {

// text drawn in font, black on white.
QImage picture(const QString &text, const QFont &font)
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

public:
    explicit tst_GlyphFallback(const QString &home) : m_home(home) {}

private Q_SLOTS:
    void initTestCase();
    void eachCharacter_data();
    void eachCharacter();
    void rightToLeft();
    void onPaper_data();
    void onPaper();

private:
    // The face that the program's text borrows c from: the first of the
    // families it borrows from, in their order, that has c.
    QString lenderOf(QChar c);

    const QDir m_home;
    ProcessFontState m_fontState;
    FontCatalogue m_fonts{m_fontState};
};

void tst_GlyphFallback::initTestCase()
{
    QVERIFY(m_fonts.fallbackFamilies().contains(QStringLiteral("WenQuanYi Zen Hei")));
}

QString tst_GlyphFallback::lenderOf(QChar c)
{
    for (const QString &family : m_fonts.fallbackFamilies()) {
        const QRawFont face = QRawFont::fromFont(m_fonts.standaloneFont(family));
        if (face.supportsCharacter(c))
            return face.familyName();
    }
    return QString();
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
    // Signs that more than one face has (Nimbus Sans, DejaVu Sans): the
    // first of them in the order lends them.
    QTest::newRow("signs in two faces") << "∀x ∃y ∅ Ѣ" << false;
    QTest::newRow("date under fa_IR") << date("fa_IR") << false;
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
    QVERIFY2(std::any_of(text.begin(), text.end(), [&](QChar c) { return !own.supportsCharacter(c); }),
             "the own face has every character: nothing to borrow");
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
        // comes from the first face that has it.
        const QString expected = sample || own.supportsCharacter(c) ? own.familyName() : lenderOf(c);
        QVERIFY2(drawing.familyName() == expected,
                 qPrintable(QString(c) + " from " + drawing.familyName() + ", not " + expected));
    }

    // What the own face draws looks as it does alone.
    const QString ownText = QStringLiteral("All Available Fonts — Grüße");
    QCOMPARE(picture(ownText, font), picture(ownText, m_fonts.standaloneFont(font)));
}

void tst_GlyphFallback::rightToLeft()
{
    QFont font;
    font.setFamily(FontCatalogue::CaptionFamily);
    font = m_fonts.textFont(font);
    const QString word = QStringLiteral("كوفي");
    // The word looks as the face that lends its letters draws it alone:
    // read from the right, in that face's shapes.
    QFont lender = font;
    lender.setFamily(lenderOf(word.front()));
    QCOMPARE(picture(word, font), picture(word, m_fonts.standaloneFont(lender)));
    QTextLayout layout(word, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
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
    QTest::addColumn<QStringList>("faces");

    QTest::newRow("caption") << true << "(文泉驿正黑)"
                             << QStringList{"LiberationSans (", "WenQuanYiZenHei 文泉驿正黑", "LiberationSans )"}
                             << QStringList{"LiberationSans yes", "WenQuanYiZenHei yes"};
    // Its missing-glyph marks are no text that a reader could find, but
    // they are drawn, in the own face.
    QTest::newRow("sample line") << false << "文泉驿正黑" << QStringList() << QStringList{"LiberationSans yes"};
}

void tst_GlyphFallback::onPaper()
{
    QFETCH(bool, fallback);
    QFETCH(QString, line);
    QFETCH(QStringList, runs);
    QFETCH(QStringList, faces);

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
    QStringList embedded = pdfFonts(notifier.filed.first());
    embedded.sort();
    QCOMPARE(embedded, faces);
}

int main(int argc, char *argv[])
{
    return runWithPrivateHome<tst_GlyphFallback>(argc, argv);
}

#include "tst_glyph_fallback.moc"
