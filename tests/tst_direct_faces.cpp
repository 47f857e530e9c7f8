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
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("weight");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<bool>("borrowsGlyphs");
    QTest::addColumn<int>("faceCount");
    QTest::addColumn<int>("faceSlant");
    QTest::addColumn<double>("faceWeight");
    QTest::addColumn<bool>("outline");
    QTest::addColumn<bool>("variable");
    QTest::addColumn<DirectFaces::Verdict>("verdict");

    using V = DirectFaces::Verdict;
    const QString family = QStringLiteral("Liberation Sans");
    const int roman = FC_SLANT_ROMAN;
    const double regular = FC_WEIGHT_REGULAR;
    QTest::newRow("regular face") << family << 400 << false << false << 1 << roman << regular << true << false << V::Direct;
    QTest::newRow("book face for normal") << family << 400 << false << false << 1 << roman << double(FC_WEIGHT_BOOK) << true << false << V::Direct;
    QTest::newRow("italic face") << family << 400 << true << false << 1 << int(FC_SLANT_ITALIC) << regular << true << false << V::Direct;
    QTest::newRow("borrows glyphs") << family << 400 << false << true << 1 << roman << regular << true << false << V::BorrowsGlyphs;
    QTest::newRow("no face") << family << 400 << false << false << 0 << roman << regular << true << false << V::NotOneFace;
    QTest::newRow("two files tie") << family << 400 << false << false << 2 << roman << regular << true << false << V::NotOneFace;
    QTest::newRow("foundry named") << "Nimbus Sans [URW]" << 400 << false << false << 1 << roman << regular << true << false << V::NotOneFace;
    QTest::newRow("bold from regular") << family << 700 << false << false << 1 << roman << regular << true << false << V::SyntheticStyle;
    QTest::newRow("slant from upright") << family << 400 << true << false << 1 << roman << regular << true << false << V::SyntheticStyle;
    QTest::newRow("oblique face for upright") << family << 400 << false << false << 1 << int(FC_SLANT_OBLIQUE) << regular << true << false << V::Direct;
    QTest::newRow("black face for normal") << family << 400 << false << false << 1 << roman << double(FC_WEIGHT_BLACK) << true << false << V::Direct;
    QTest::newRow("bold face for bold") << family << 700 << false << false << 1 << roman << double(FC_WEIGHT_BOLD) << true << false << V::Direct;
    QTest::newRow("bitmap face") << family << 400 << false << false << 1 << roman << regular << false << false << V::NotPlainOutline;
    QTest::newRow("variable face") << family << 400 << false << false << 1 << roman << regular << true << true << V::NotPlainOutline;
}

void tst_DirectFaces::verdicts()
{
    QFETCH(QString, family);
    QFETCH(int, weight);
    QFETCH(bool, italic);
    QFETCH(bool, borrowsGlyphs);
    QFETCH(int, faceCount);
    QFETCH(int, faceSlant);
    QFETCH(double, faceWeight);
    QFETCH(bool, outline);
    QFETCH(bool, variable);
    QFETCH(DirectFaces::Verdict, verdict);

    QFont font(family, 12, weight, italic);
    if (!borrowsGlyphs)
        font.setStyleStrategy(QFont::NoFontMerging);
    std::vector<FcPatternHandle> owned;
    std::vector<FcPattern *> faces;
    for (int i = 0; i < faceCount; ++i) {
        const QByteArray file = "/fonts/face" + QByteArray::number(i) + ".ttf";
        owned.emplace_back(FcPatternBuild(nullptr, FC_FILE, FcTypeString, file.constData(), FC_SLANT, FcTypeInteger,
                                          faceSlant, FC_WEIGHT, FcTypeDouble, faceWeight, FC_SCALABLE, FcTypeBool,
                                          FcBool(outline), FC_VARIABLE, FcTypeBool, FcBool(variable), nullptr));
        faces.push_back(owned.back().get());
    }
    QCOMPARE(DirectFaces::verdictFor(font, faces), verdict);
}

QTEST_MAIN(tst_DirectFaces)
#include "tst_direct_faces.moc"
