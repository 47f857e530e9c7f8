// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Times the start-up routine against printer font lists of several sizes.
//
// For every size N it runs, several times each and every run with a fresh
// main window:
// - startup:  MainWindow::load() with the real event pump, pointer and settings
//             store and a printer that reports N generated names, from the
//             call until the main window is shown and load() returns;
// - baseline: the same N names added straight to fontList of a hidden main
//             window, with no pump, no progress window and no repaint.
//
// Prints one line per size: N, the median of each, the time per font and
// how the time per font grew from the previous size.
//
//   startup_bench [--runs R] [N...]        (defaults: 5 runs; 1000 5000 20000)

#include "bench_options.h"
#include "find_control.h"
#include "fake_printer.h"
#include "desktop/system_runtime.h"
#include "desktop/system_screen.h"
#include "ui/list_box.h"
#include "fonts/font_catalogue.h"
#include "fonts/process_font_state.h"
#include "main_window/main_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int DefaultRuns = 5;
constexpr int DefaultSizes[] = {1000, 5000, 20000};
// Fixed, so that every run and every size sees the same kind of list.
constexpr quint32 NameSeed = 1996;

// Font-like names ("Lumavera Condensed Bold"), a few of them twice, in no
// particular order: the sorted insert gets no help from the printer's order.
QStringList generatedNames(int count)
{
    static const char *const syllables[] = {"lu", "ma", "ve", "ra", "ti", "go", "no", "sa",
                                            "ki", "do", "pe", "zu", "fa", "ro", "mi", "ca"};
    static const char *const styles[] = {"", " Bold", " Italic", " Condensed", " Light",
                                         " Black", " Book", " Demi"};
    QRandomGenerator random(NameSeed);
    QStringList names;
    names.reserve(count);
    while (names.size() < count) {
        if (!names.isEmpty() && random.bounded(100) == 0) {
            names.append(names.at(random.bounded(int(names.size()))));
            continue;
        }
        QString name;
        const int length = 2 + random.bounded(3);
        for (int i = 0; i < length; ++i)
            name += QLatin1String(syllables[random.bounded(int(std::size(syllables)))]);
        name[0] = name[0].toUpper();
        name += QLatin1String(styles[random.bounded(int(std::size(styles)))]);
        name += QLatin1Char(' ') + QString::number(random.bounded(1000));
        names.append(name);
    }
    return names;
}

double timeStartup(FontCatalogue &fonts, const QStringList &names)
{
    FakePrinter printer;
    printer.fontList = names;
    SystemScreen screen(fonts);
    SystemRuntime runtime;
    MainWindow mainWindow(fonts, printer, screen, runtime);

    QElapsedTimer timer;
    timer.start();
    mainWindow.load();
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (!mainWindow.isVisible() || control<ListBox>(mainWindow, "fontList")->count() != names.size()) {
        std::fprintf(stderr, "startup_bench: the start-up routine did not finish\n");
        std::exit(EXIT_FAILURE);
    }
    // Let the window come up before the next run builds another one.
    QCoreApplication::processEvents();
    return seconds;
}

double timeBaseline(FontCatalogue &fonts, const QStringList &names)
{
    FakePrinter printer;
    SystemScreen screen(fonts);
    SystemRuntime runtime;
    MainWindow mainWindow(fonts, printer, screen, runtime);
    ListBox *fontList = control<ListBox>(mainWindow, "fontList");

    QElapsedTimer timer;
    timer.start();
    for (const QString &name : names)
        fontList->addItem(name);
    return timer.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ProcessFontState fontState;
    FontCatalogue fonts{fontState};

    const auto [runs, sizes] =
        parseRunsAndSizes(argc, argv, DefaultRuns, DefaultSizes, "startup_bench");

    std::printf("# platform %s, %d runs per size\n", qPrintable(QGuiApplication::platformName()),
                runs);
    std::printf("# fonts startup_s baseline_s startup_us_per_font baseline_us_per_font "
                "per_font_growth\n");
    double previousPerFont = 0;
    for (const int size : sizes) {
        const QStringList names = generatedNames(size);
        std::vector<double> startup;
        std::vector<double> baseline;
        for (int run = 0; run < runs; ++run) {
            startup.push_back(timeStartup(fonts, names));
            baseline.push_back(timeBaseline(fonts, names));
        }
        const double startupMedian = median(startup);
        const double baselineMedian = median(baseline);
        const double perFont = startupMedian / size * 1e6;
        const double growth = previousPerFont > 0 ? perFont / previousPerFont : 1.0;
        std::printf("%d %.3f %.3f %.1f %.1f %.2f\n", size, startupMedian, baselineMedian, perFont,
                    baselineMedian / size * 1e6, growth);
        std::fflush(stdout);
        previousPerFont = perFont;
    }
    return EXIT_SUCCESS;
}
