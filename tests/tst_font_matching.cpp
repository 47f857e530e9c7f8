// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Qt's font matching stays linear in the number of installed families only
// while it is asked for families that it has, drawn alone. For a face it
// lacks, a generic alias, a family with substitutes, or a glyph borrowed
// from another face, Qt lists fontconfig's fallbacks for the family and
// checks every entry against every installed family: quadratic, seconds per
// face with 20,000 families. fontconfig's FcFontSort is where that list
// comes from; this test counts its calls, which no path of the program may
// make, whatever the machine's speed.

#include "fake_notifier.h"
#include "fake_printer.h"
#include "fake_runtime.h"
#include "host/font_families.h"
#include "host/system_printer.h"
#include "host/system_screen.h"
#include "main_window/main_window.h"
#include "ui/list_box.h"

#include <QApplication>
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

} // namespace

// Stands in for fontconfig's own, which Qt reaches through this program's
// exported symbols first, and counts the calls.
extern "C" FcFontSet *FcFontSort(FcConfig *config, FcPattern *pattern, FcBool trim, FcCharSet **charset,
                                 FcResult *result)
{
    ++fallbackListQueries;
    using Sort = FcFontSet *(*)(FcConfig *, FcPattern *, FcBool, FcCharSet **, FcResult *);
    static const auto sort = reinterpret_cast<Sort>(dlsym(RTLD_NEXT, "FcFontSort"));
    return sort(config, pattern, trim, charset, result);
}

class tst_FontMatching : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void mainWindow_data();
    void mainWindow();
    void printedFaces_data();
    void printedFaces();

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
    QApplication::setFont(standaloneFont(QApplication::font()));
    QVERIFY(dlsym(RTLD_DEFAULT, "FcFontSort") == reinterpret_cast<void *>(&FcFontSort));
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
        printer.fontList = typefaceFamilies(installedFontFamilies()) + QStringList{"Times-BoldItalic"};
        SystemScreen screen;
        FakeRuntime runtime;
        MainWindow window(printer, screen, runtime);
        window.load();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        if (userText) {
            window.userTextOption()->click();
            window.userTextBox()->setText(QStringLiteral("Grüße, Ωμέγα, 漢字"));
        }

        ListBox *fontList = window.fontList();
        int row = 0;
        while (row < fontList->count() && fontList->text(row) != clicked)
            ++row;
        QVERIFY2(row < fontList->count(), qPrintable(clicked));
        const QModelIndex entry = fontList->model()->index(row, 0);
        fontList->scrollTo(entry);
        QTest::mouseClick(fontList->viewport(), Qt::LeftButton, {}, fontList->visualRect(entry).center());
        QVERIFY(window.sampleLine()->isVisible());
        window.selectAllButton()->click();
        QCOMPARE(fontList->selectedCount(), fontList->count());
        window.sampleLine()->grab();
        window.userTextBox()->grab();
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
    SystemPrinter printer(notifier);
    // The sheet's first line, in the surface's face before any FontName.
    printer.printLine(QString());
    for (const QString &name : names) {
        printer.setFontName(name);
        // Text that every face lacks some of.
        printer.printLine(name + QStringLiteral(" Grüße 漢字"));
    }
    printer.killDoc();
    QCOMPARE(fallbackListQueries, 0);
}

QTEST_MAIN(tst_FontMatching)
#include "tst_font_matching.moc"
