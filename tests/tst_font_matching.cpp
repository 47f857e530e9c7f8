// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Qt's font matching stays linear in the number of installed families only
// while it is asked for families that it has. For a face it lacks, a
// generic alias, a family with substitutes, or a glyph borrowed from another
// face, Qt lists fontconfig's fallbacks for the family and checks every
// entry against every installed family: quadratic, seconds per face with
// 20,000 families, when the list comes from the installed configuration.
// fontconfig's FcFontSort is where that list comes from; this test counts
// its calls on the installed configuration, which no path of the program
// may make, whatever the machine's speed. Borrowed glyphs come through a
// configuration of a few faces.
//
// Qt also sets up every new face with an FcFontMatch, which reads every
// installed face: milliseconds per click and per printed face with many
// families. Once the program has started, no click and no printed face may
// have fontconfig match against the whole installed configuration.

#include "find_control.h"
#include "fake_notifier.h"
#include "fake_printer.h"
#include "fake_runtime.h"
#include "fonts/face_setup.h"
#include "fonts/font_catalogue.h"
#include "fonts/process_font_state.h"
#include "printing/system_printer.h"
#include "desktop/system_screen.h"
#include "main_window/main_window.h"
#include "ui/list_box.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <fontconfig/fontconfig.h>

#include <dlfcn.h>

namespace {

int fallbackListQueries = 0;
int wholeConfigurationMatches = 0;
// The configuration that Qt read its fonts from.
FcConfig *installedConfiguration = nullptr;

} // namespace

// Stands in for fontconfig's own, which Qt reaches through this program's
// exported symbols first, and counts the calls.
extern "C" FcFontSet *FcFontSort(FcConfig *config, FcPattern *pattern, FcBool trim, FcCharSet **charset,
                                 FcResult *result)
{
    if ((config ? config : FcConfigGetCurrent()) == installedConfiguration)
        ++fallbackListQueries;
    using Sort = FcFontSet *(*)(FcConfig *, FcPattern *, FcBool, FcCharSet **, FcResult *);
    static const auto sort = reinterpret_cast<Sort>(dlsym(RTLD_NEXT, "FcFontSort"));
    return sort(config, pattern, trim, charset, result);
}

// The same for every font match, counting those against the installed
// configuration.
extern "C" FcPattern *FcFontMatch(FcConfig *config, FcPattern *pattern, FcResult *result)
{
    if ((config ? config : FcConfigGetCurrent()) == installedConfiguration)
        ++wholeConfigurationMatches;
    using Match = FcPattern *(*)(FcConfig *, FcPattern *, FcResult *);
    static const auto match = reinterpret_cast<Match>(dlsym(RTLD_NEXT, "FcFontMatch"));
    return match(config, pattern, result);
}

class tst_FontMatching : public QObject
{
    Q_OBJECT

    // The installed fonts, read as the program reads them at start.
    ProcessFontState m_fontState;
    FontCatalogue m_fonts{m_fontState};

private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void mainWindow_data();
    void mainWindow();
    void printedFaces_data();
    void printedFaces();
    void renderingRules_data();
    void renderingRules();

private:
    QTemporaryDir m_home;
};

void tst_FontMatching::initTestCase()
{
    QVERIFY(m_home.isValid());
    // The PDF printer files its documents in the home's documents folder.
    qputenv("HOME", QFile::encodeName(m_home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.path() + QStringLiteral("/config")));
    // As the program sets it before any window exists.
    QApplication::setFont(m_fonts.textFont(QApplication::font()));
    m_fonts.keepFacesSetUp(QApplication::font());
    QVERIFY(dlsym(RTLD_DEFAULT, "FcFontSort") == reinterpret_cast<void *>(&FcFontSort));
    QVERIFY(dlsym(RTLD_DEFAULT, "FcFontMatch") == reinterpret_cast<void *>(&FcFontMatch));
    QVERIFY(!m_fonts.qtFamilies().isEmpty());
    installedConfiguration = m_fonts.installedConfig();
    QVERIFY(FcConfigGetCurrent() != installedConfiguration);
}

void tst_FontMatching::cleanup()
{
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_FontMatching::mainWindow_data()
{
    QTest::addColumn<QString>("clicked");
    QTest::addColumn<bool>("userText");

    QTest::newRow("screen face") << "DejaVu Serif" << false;
    QTest::newRow("foundry twin") << "C059" << false;
    QTest::newRow("printer-only name") << "Times-BoldItalic" << false;
    QTest::newRow("names in Chinese and Arabic, drawn with borrowed glyphs") << "文泉驿正黑" << false;
    QTest::newRow("user text in a face that lacks some of it")
        << "Liberation Mono" << true;
}

void tst_FontMatching::mainWindow()
{
    QFETCH(QString, clicked);
    QFETCH(bool, userText);

    fallbackListQueries = 0;
    {
        FakePrinter printer;
        printer.fontList = m_fonts.typefaces() + QStringList{"Times-BoldItalic", "文泉驿正黑", "نسخ كوفي 671"};
        SystemScreen screen(m_fonts);
        FakeRuntime runtime;
        MainWindow window(m_fonts, printer, screen, runtime);
        window.load();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        if (userText) {
            control<QRadioButton>(window, "userTextOption")->click();
            control<QLineEdit>(window, "userTextBox")->setText(QStringLiteral("Grüße, Ωμέγα, 漢字"));
        }

        ListBox *fontList = control<ListBox>(window, "fontList");
        int row = 0;
        while (row < fontList->count() && fontList->text(row) != clicked)
            ++row;
        QVERIFY2(row < fontList->count(), qPrintable(clicked));
        const QModelIndex entry = fontList->model()->index(row, 0);
        fontList->scrollTo(entry);
        wholeConfigurationMatches = 0;
        QTest::mouseClick(fontList->viewport(), Qt::LeftButton, {}, fontList->visualRect(entry).center());
        QVERIFY(control<QLabel>(window, "sampleLine")->isVisible());
        control<QLabel>(window, "sampleLine")->grab();
        QCOMPARE(wholeConfigurationMatches, 0);
        control<QPushButton>(window, "selectAllButton")->click();
        QCOMPARE(fontList->selectedCount(), fontList->count());
        control<QLabel>(window, "sampleLine")->grab();
        control<QLineEdit>(window, "userTextBox")->grab();
    }
    QCOMPARE(fallbackListQueries, 0);
}

void tst_FontMatching::printedFaces_data()
{
    QTest::addColumn<QStringList>("names");

    QTest::newRow("families") << QStringList{"DejaVu Sans", "Liberation Serif", "C059"};
    QTest::newRow("metric twins and resident names")
        << QStringList{"Arial", "Times New Roman", "Times-BoldItalic", "Helvetica-Narrow"};
}

void tst_FontMatching::printedFaces()
{
    QFETCH(QStringList, names);

    fallbackListQueries = 0;
    FakeNotifier notifier;
    SystemPrinter printer(m_fonts, notifier);
    // The sheet's first line, in the surface's face before any FontName.
    printer.printLine(QString());
    // A name that is no family of Qt's is looked up once, with a match
    // against every installed face; printing in its face then needs none.
    int printingMatches = 0;
    for (const QString &name : names) {
        printer.setFontName(name);
        const int before = wholeConfigurationMatches;
        // Text that every face lacks some of.
        printer.printLine(name + QStringLiteral(" Grüße 漢字"));
        printingMatches += wholeConfigurationMatches - before;
    }
    printer.abort();
    QCOMPARE(fallbackListQueries, 0);
    QCOMPARE(printingMatches, 0);
}

namespace {

// Whether text drawn in font on a white image has grey edges.
bool drawsAntialiased(const QFont &font)
{
    QImage image(240, 60, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(4, 44), QStringLiteral("Hamburgefonstiv"));
    }
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int grey = qGray(image.pixel(x, y));
            if (grey > 0 && grey < 255)
                return true;
        }
    }
    return false;
}

} // namespace

void tst_FontMatching::renderingRules_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("weight");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<bool>("antialiased");

    // The test's fontconfig rules turn antialiasing off for these faces only.
    QTest::newRow("family with a rule") << "DejaVu Sans" << int(QFont::Normal) << false << false;
    QTest::newRow("family without") << "DejaVu Serif" << int(QFont::Normal) << false << true;
    QTest::newRow("the face with a rule") << "Liberation Serif" << int(QFont::Bold) << false << false;
    QTest::newRow("its regular face") << "Liberation Serif" << int(QFont::Normal) << false << true;
    QTest::newRow("its italic face") << "Liberation Serif" << int(QFont::Normal) << true << true;
    QTest::newRow("family from two files") << "C059" << int(QFont::Normal) << false << false;
}

void tst_FontMatching::renderingRules()
{
    QFETCH(QString, family);
    QFETCH(int, weight);
    QFETCH(bool, italic);
    QFETCH(bool, antialiased);

    // Each row its own sizes, so that every face is set up afresh.
    static int pixelSize = 17;
    pixelSize += 2;
    QFont font = m_fonts.standaloneFont(family);
    font.setWeight(QFont::Weight(weight));
    font.setItalic(italic);

    // Qt's own setup, through a match against every installed face.
    QFont reference = font;
    reference.setPixelSize(pixelSize + 1);
    wholeConfigurationMatches = 0;
    FcConfig *drawing = FcConfigReference(nullptr);
    FcConfigSetCurrent(installedConfiguration);
    const bool referenceAntialiased = drawsAntialiased(reference);
    FcConfigSetCurrent(drawing);
    FcConfigDestroy(drawing);
    QCOMPARE(wholeConfigurationMatches, 1);
    QCOMPARE(referenceAntialiased, antialiased);

    font.setPixelSize(pixelSize);
    QImage device(1, 1, QImage::Format_ARGB32_Premultiplied);
    wholeConfigurationMatches = 0;
    m_fonts.setUpFaces(font, u"Hamburgefonstiv", &device);
    QCOMPARE(drawsAntialiased(font), antialiased);
    QCOMPARE(wholeConfigurationMatches, 0);
}

QTEST_MAIN(tst_FontMatching)
#include "tst_font_matching.moc"
