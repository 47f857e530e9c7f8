// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Font sheet printing at scale.
//
//   sheet_bench bare FILE     a bare QPdfWriter loop drawing the sheet's lines
//   sheet_bench sheet         Print Fonts through the real printer surface
//                             (the PDF printer when no CUPS server is reached)
//   sheet_bench sparse N      Print Fonts over N entries with 10 selected, on a
//                             recording printer: the cost of the loop itself
//   sheet_bench faces         how many installed families' sample lines open
//                             their face directly, and why the others do not
//
// bare and sheet print every installed family, each as a caption line in
// Arial 8 and a sample line in the family at 12 points. Each prints one line:
// the mode, the number of fonts and the seconds taken.

#include "find_control.h"
#include "fonts/face_setup.h"
#include "fake_printer.h"
#include "fake_notifier.h"
#include "fake_runtime.h"
#include "font_sheet/font_sheet.h"
#include "fonts/font_catalogue.h"
#include "fonts/process_font_state.h"
#include "printing/system_printer.h"
#include "desktop/system_runtime.h"
#include "desktop/system_screen.h"
#include "ui/list_box.h"
#include "main_window/main_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cstdio>
#include <map>

namespace {

constexpr int Resolution = 1200;

// Twips to the writer's device units.
double device(double twips)
{
    return twips * Resolution / 1440.0;
}

double bareLoop(const QStringList &families, const QString &file)
{
    QElapsedTimer timer;
    timer.start();
    QPdfWriter writer(file);
    writer.setResolution(Resolution);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(18, 18, 18, 18), QPageLayout::Point));
    QPainter painter(&writer);
    const double pageHeight = writer.height();
    double y = 0;
    const auto line = [&](const QFont &font, double indent, const QString &text) {
        painter.setFont(font);
        const QFontMetricsF metrics(font, &writer);
        if (y + metrics.lineSpacing() > pageHeight && y > 0) {
            writer.newPage();
            y = 0;
        }
        painter.drawText(QPointF(device(indent), y + metrics.ascent()), text);
        y += metrics.lineSpacing();
    };
    QFont caption(QStringLiteral("Arial"));
    caption.setPointSizeF(8);
    QFont heading(QStringLiteral("Arial"));
    heading.setPointSizeF(12);
    y += device(300);
    line(heading, 800, QStringLiteral("Glyphora Font Sheet"));
    for (const QString &family : families) {
        line(caption, 800, QLatin1Char('(') + family + QLatin1Char(')'));
        QFont sample(family);
        sample.setPointSizeF(12);
        line(sample, 835, family);
    }
    painter.end();
    return timer.nsecsElapsed() / 1e9;
}

void fillSizes(MainWindow &mainWindow)
{
    for (const char *size : {"10", "12", "14", "16", "18", "20"})
        control<ListBox>(mainWindow, "printSizeList")->addItem(QString::fromLatin1(size));
    control<ListBox>(mainWindow, "printSizeList")->setSelected(1, true);
}

double sheet(FontCatalogue &fonts, const QStringList &families)
{
    FakeNotifier notifier;
    SystemPrinter printer(fonts, notifier);
    // The program has read the printer's font list at start, before anyone
    // can ask for a sheet; reading it is start-up time, not the sheet's.
    static_cast<void>(printer.fontCount());
    SystemScreen screen(fonts);
    SystemRuntime runtime;
    MainWindow mainWindow(fonts, printer, screen, runtime);
    fillSizes(mainWindow);
    for (const QString &family : families)
        control<ListBox>(mainWindow, "fontList")->addItem(family);
    for (int row = 0; row < control<ListBox>(mainWindow, "fontList")->count(); ++row)
        control<ListBox>(mainWindow, "fontList")->setSelected(row, true);

    QElapsedTimer timer;
    timer.start();
    mainWindow.printFonts();
    return timer.nsecsElapsed() / 1e9;
}

double sparse(FontCatalogue &fonts, int count)
{
    FakePrinter printer;
    SystemScreen screen(fonts);
    FakeRuntime runtime;
    runtime.processQtEvents = true;
    MainWindow mainWindow(fonts, printer, screen, runtime);
    fillSizes(mainWindow);
    for (int i = 0; i < count; ++i)
        control<ListBox>(mainWindow, "fontList")->addItem(QStringLiteral("Font %1").arg(i, 6, 10, QLatin1Char('0')));
    for (int i = 0; i < 10; ++i)
        control<ListBox>(mainWindow, "fontList")->setSelected(i * (count / 10), true);

    QElapsedTimer timer;
    timer.start();
    mainWindow.printFonts();
    return timer.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    ProcessFontState fontState;
    FontCatalogue fonts{fontState};
    // As the program sets it before any window exists.
    QApplication::setFont(fonts.standaloneFont(QApplication::font()));
    const QStringList args = QApplication::arguments();
    const QString mode = args.value(1);
    if (mode == QLatin1String("sparse") && args.size() == 3) {
        const int count = args.at(2).toInt();
        std::printf("sparse %d %.4f\n", count, sparse(fonts, count));
        return 0;
    }
    const QStringList families = fonts.typefaces();
    if (mode == QLatin1String("bare") && args.size() == 3) {
        std::printf("bare %lld %.4f\n", static_cast<long long>(families.size()),
                    bareLoop(families, args.at(2)));
        return 0;
    }
    if (mode == QLatin1String("sheet") && args.size() == 2) {
        std::printf("sheet %lld %.4f\n", static_cast<long long>(families.size()), sheet(fonts, families));
        return 0;
    }
    if (mode == QLatin1String("sheet") && args.size() == 3) {
        // A sheet of N of the installed families, spread evenly over them:
        // its time per printed font, beside the number installed.
        const int count = std::min<int>(args.at(2).toInt(), families.size());
        QStringList spread;
        for (int i = 0; i < count; ++i)
            spread.append(families.at(qsizetype(i) * families.size() / count));
        std::printf("sheet %lld %.4f\n", static_cast<long long>(families.size()), sheet(fonts, spread));
        return 0;
    }
    if (mode == QLatin1String("faces") && args.size() == 2) {
        // A sample line's font, as the sheet asks for it.
        using V = DirectFaces::Verdict;
        const std::pair<V, const char *> names[] = {
            {V::Direct, "direct"}, {V::BorrowsGlyphs, "borrows-glyphs"}, {V::NotOneFace, "not-one-face"},
            {V::SyntheticStyle, "synthetic-style"}, {V::NotPlainOutline, "not-plain-outline"}};
        std::map<V, int> counts;
        for (const QString &family : families) {
            QFont font = fonts.standaloneFont(family);
            font.setPointSizeF(12);
            ++counts[fonts.faceSetup().verdictFor(font)];
        }
        std::printf("faces %lld", static_cast<long long>(families.size()));
        for (const auto &[verdict, name] : names)
            std::printf(" %s=%d", name, counts[verdict]);
        std::printf("\n");
        return 0;
    }
    std::fprintf(stderr, "usage: sheet_bench bare FILE | sheet [N] | sparse N | faces\n");
    return 2;
}
