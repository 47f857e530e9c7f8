// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Times Select All and Deselect All on the shown main window over lists of
// several sizes, each from three starting selections:
// - none:      nothing selected;
// - scattered: about every other entry, at random, so that the selection
//              is a quarter as many runs as there are entries;
// - all:       every entry.
// Each run clicks the command's button and times the handler with the real
// event pump, once per entry. A baseline, in the same session: the same
// number of pumps with no selection write.
//
// Prints one line per size, start and command: N, start, command, the
// median time, the time per entry, and how the time per entry grew from
// the size before.
//
//   selection_bench [--runs R] [N...]        (defaults: 3 runs; 1000 5000 20000)

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
#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

namespace {

constexpr int DefaultRuns = 3;
constexpr int DefaultSizes[] = {1000, 5000, 20000};
constexpr quint32 Seed = 1996;

enum class Start { None, Scattered, All };
const char *const StartNames[] = {"none", "scattered", "all"};

// Names in no particular order: the list sorts them.
QStringList names(int count)
{
    QRandomGenerator random(Seed);
    QStringList result;
    result.reserve(count);
    for (int i = 0; i < count; ++i)
        result.append(QStringLiteral("Face %1").arg(random.generate()));
    return result;
}

struct Window
{
    ProcessFontState fontState;
    FontCatalogue catalogue{fontState};
    FakePrinter printer;
    SystemScreen screen{catalogue};
    SystemRuntime runtime;
    MainWindow mainWindow{catalogue, printer, screen, runtime};

    explicit Window(const QStringList &fonts)
    {
        for (const QString &name : fonts)
            control<ListBox>(mainWindow, "fontList")->addItem(name);
        mainWindow.show();
        if (!QTest::qWaitForWindowExposed(&mainWindow)) {
            std::fprintf(stderr, "selection_bench: the main window did not show\n");
            std::exit(EXIT_FAILURE);
        }
    }

    void select(Start start)
    {
        ListBox &fontList = *control<ListBox>(mainWindow, "fontList");
        QRandomGenerator random(Seed);
        for (int row = 0; row < fontList.count(); ++row) {
            if (start == Start::All || (start == Start::Scattered && random.bounded(2) == 0))
                fontList.setSelected(row, true);
        }
        // As a user would meet it: the list painted, the view up to date.
        QCoreApplication::processEvents();
    }
};

double timeCommand(const QStringList &fonts, Start start, bool selectAll)
{
    Window window(fonts);
    window.select(start);
    QPushButton *command = selectAll ? control<QPushButton>(window.mainWindow, "selectAllButton") : control<QPushButton>(window.mainWindow, "deselectAllButton");

    QElapsedTimer timer;
    timer.start();
    command->click();
    const double seconds = timer.nsecsElapsed() / 1e9;

    const int expected = selectAll ? int(fonts.size()) : 0;
    if (control<ListBox>(window.mainWindow, "fontList")->selectedCount() != expected
        || control<QLabel>(window.mainWindow, "sampleLine")->isHidden()) {
        std::fprintf(stderr, "selection_bench: the command did not finish as it should\n");
        std::exit(EXIT_FAILURE);
    }
    return seconds;
}

double timePumps(const QStringList &fonts)
{
    Window window(fonts);
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < fonts.size(); ++i)
        window.runtime.pumpEvents();
    return timer.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    const auto [runs, sizes] =
        parseRunsAndSizes(argc, argv, DefaultRuns, DefaultSizes, "selection_bench");

    std::printf("# platform %s, %d runs each\n", qPrintable(QGuiApplication::platformName()), runs);
    std::printf("# entries start command seconds us_per_entry per_entry_growth\n");
    // The time per entry at the size before, by start and command.
    std::map<std::pair<int, int>, double> previous;
    for (const int size : sizes) {
        const QStringList fonts = names(size);
        std::vector<double> pumps;
        for (int run = 0; run < runs; ++run)
            pumps.push_back(timePumps(fonts));
        const double pumpSeconds = median(pumps);
        const double pumpPerEntry = pumpSeconds / size * 1e6;
        const double pumpGrowth = previous.count({-1, 0}) ? pumpPerEntry / previous[{-1, 0}] : 1.0;
        previous[{-1, 0}] = pumpPerEntry;
        std::printf("%d - pumps-only %.3f %.2f %.2f\n", size, pumpSeconds, pumpPerEntry,
                    pumpGrowth);

        for (const Start start : {Start::None, Start::Scattered, Start::All}) {
            for (const bool selectAll : {true, false}) {
                std::vector<double> times;
                for (int run = 0; run < runs; ++run)
                    times.push_back(timeCommand(fonts, start, selectAll));
                const double seconds = median(times);
                const double perEntry = seconds / size * 1e6;
                const std::pair<int, int> key{int(start), selectAll};
                const double growth = previous.count(key) ? perEntry / previous[key] : 1.0;
                previous[key] = perEntry;
                std::printf("%d %s %s %.3f %.2f %.2f\n", size, StartNames[int(start)],
                            selectAll ? "select-all" : "deselect-all", seconds, perEntry, growth);
                std::fflush(stdout);
            }
        }
    }
    return EXIT_SUCCESS;
}
