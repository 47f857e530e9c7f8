// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

// A face opened straight from its file draws as the face that Qt finds for
// the same font: the same glyphs at the same places, shaped for Arabic and
// Devanagari as Qt shapes them, and the same text in the same embedded font
// in a PDF. Fonts that Qt has to set up itself are left to it.

#include "fonts/direct_faces.h"
#include "fonts/face_setup.h"
#include "fonts/font_catalogue.h"
#include "fonts/fontconfig_handles.h"
#include "fonts/process_font_state.h"
#include "pdf_tools.h"

#include <QApplication>
#include <QGlyphRun>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>
#include <QTextLayout>

#include <fontconfig/fontconfig.h>

namespace {

constexpr int Resolution = 1200;

QList<QGlyphRun> glyphRuns(const QString &text, const QFont &font, QPaintDevice *device)
{
    QTextLayout layout(text, font, device);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    return layout.glyphRuns();
}

void drawPdf(const QString &file, const QString &text, const QFont &font)
{
    QPdfWriter writer(file);
    writer.setResolution(Resolution);
    QPainter painter(&writer);
    painter.setFont(font);
    painter.drawText(QPointF(100, 1000), text);
}

} // namespace

class tst_DirectFaces : public QObject
{
    Q_OBJECT

    ProcessFontState m_fontState;
    FontCatalogue m_fonts{m_fontState};
    QTemporaryDir m_dir;

private Q_SLOTS:
    void sameAsQt_data();
    void sameAsQt();
    void verdicts_data();
    void verdicts();
};

void tst_DirectFaces::sameAsQt_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<int>("stretch");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("opened");

    const int any = QFont::AnyStretch;
    QTest::newRow("Latin") << "Liberation Sans" << false << any << "Hamburgefonstiv Grüße" << true;
    QTest::newRow("bold face") << "Liberation Serif" << true << any << "Hamburgefonstiv" << true;
    QTest::newRow("narrow face") << "Liberation Sans Narrow" << false << any << "Hamburgefonstiv" << true;
    QTest::newRow("Arabic") << "DejaVu Sans" << false << int(QFont::Unstretched) << "مرحبا بالعالم" << true;
    QTest::newRow("Devanagari") << "Lohit Devanagari" << false << any << "नमस्ते दुनिया क्षत्रिय" << true;
    // Its condensed faces are listed under the family too, and any width
    // will do: which of the two Qt takes is its own choice.
    QTest::newRow("two widths, any will do") << "DejaVu Sans" << false << any << "Hamburgefonstiv" << false;
}

void tst_DirectFaces::sameAsQt()
{
    QFETCH(QString, family);
    QFETCH(bool, bold);
    QFETCH(int, stretch);
    QFETCH(QString, text);
    QFETCH(bool, opened);
    QVERIFY(m_dir.isValid());
    QVERIFY2(m_fonts.qtFamilies().contains(family), qPrintable(family));

    // Two requests for the same face that Qt keeps apart, since the hint
    // is part of the request: one that Qt sets up, one opened directly.
    QFont direct(family, 12, bold ? QFont::Bold : QFont::Normal);
    direct.setStyleStrategy(QFont::NoFontMerging);
    direct.setStretch(stretch);
    QFont viaQt = direct;
    viaQt.setStyleHint(QFont::SansSerif, QFont::NoFontMerging);

    QPdfWriter device(m_dir.filePath(QStringLiteral("device.pdf")));
    device.setResolution(Resolution);
    FaceSetup &setup = m_fonts.faceSetup();
    setup.setOpenDirectly(false);
    m_fonts.setUpFaces(viaQt, text, &device);
    setup.setOpenDirectly(true);
    const int openings = setup.directOpenings();
    m_fonts.setUpFaces(direct, text, &device);
    QCOMPARE(setup.directOpenings(), openings + (opened ? 1 : 0));

    const QList<QGlyphRun> expected = glyphRuns(text, viaQt, &device);
    const QList<QGlyphRun> actual = glyphRuns(text, direct, &device);
    QCOMPARE(actual.size(), expected.size());
    for (qsizetype i = 0; i < actual.size(); ++i) {
        QCOMPARE(actual.at(i).glyphIndexes(), expected.at(i).glyphIndexes());
        QCOMPARE(actual.at(i).positions(), expected.at(i).positions());
        QCOMPARE(actual.at(i).rawFont().familyName(), expected.at(i).rawFont().familyName());
    }

    const QString expectedPdf = m_dir.filePath(QStringLiteral("qt.pdf"));
    const QString actualPdf = m_dir.filePath(QStringLiteral("direct.pdf"));
    drawPdf(expectedPdf, text, viaQt);
    drawPdf(actualPdf, text, direct);
    QVERIFY(!pdfText(expectedPdf).trimmed().isEmpty());
    QCOMPARE(pdfText(actualPdf), pdfText(expectedPdf));
    QCOMPARE(pdfFonts(actualPdf), pdfFonts(expectedPdf));
}

void tst_DirectFaces::verdicts_data()
{
    QTest::addColumn<QFont>("font");
    // The faces that tie for it, in fontconfig's pattern syntax.
    QTest::addColumn<QStringList>("faces");
    QTest::addColumn<DirectFaces::Verdict>("verdict");

    using V = DirectFaces::Verdict;
    const auto alone = [](const QString &family, int weight = QFont::Normal, bool italic = false) {
        QFont font(family, 12, weight, italic);
        font.setStyleStrategy(QFont::NoFontMerging);
        return font;
    };
    const QFont normal = alone(QStringLiteral("Liberation Sans"));
    const QString regular = QStringLiteral("file=/f/a.ttf:weight=80:slant=0:scalable=True:variable=False");
    const QString other = QStringLiteral("file=/f/b.ttf:weight=80:slant=0:scalable=True:variable=False");
    QTest::newRow("regular face") << normal << QStringList{regular} << V::Direct;
    QTest::newRow("black face for normal") << normal << QStringList{QString(regular).replace("=80", "=210")} << V::Direct;
    QTest::newRow("borrows glyphs") << QFont(QStringLiteral("Liberation Sans")) << QStringList{regular} << V::BorrowsGlyphs;
    QTest::newRow("two files tie") << normal << QStringList{regular, other} << V::NotOneFace;
    QTest::newRow("foundry named") << alone(QStringLiteral("Nimbus Sans [URW]")) << QStringList{regular} << V::NotOneFace;
    QTest::newRow("bold from regular") << alone(QStringLiteral("Liberation Sans"), QFont::Bold) << QStringList{regular} << V::SyntheticStyle;
    QTest::newRow("slant from upright") << alone(QStringLiteral("Liberation Sans"), QFont::Normal, true) << QStringList{regular} << V::SyntheticStyle;
    QTest::newRow("bitmap face") << normal << QStringList{QString(regular).replace("scalable=True", "scalable=False")} << V::NotPlainOutline;
    QTest::newRow("variable face") << normal << QStringList{QString(regular).replace("variable=False", "variable=True")} << V::NotPlainOutline;
}

void tst_DirectFaces::verdicts()
{
    QFETCH(QFont, font);
    QFETCH(QStringList, faces);
    QFETCH(DirectFaces::Verdict, verdict);

    std::vector<FcPatternHandle> owned;
    std::vector<FcPattern *> patterns;
    for (const QString &face : faces) {
        owned.emplace_back(FcNameParse(reinterpret_cast<const FcChar8 *>(face.toUtf8().constData())));
        QVERIFY(owned.back());
        patterns.push_back(owned.back().get());
    }
    QCOMPARE(DirectFaces::verdictFor(font, patterns), verdict);
}

QTEST_MAIN(tst_DirectFaces)
#include "tst_direct_faces.moc"
