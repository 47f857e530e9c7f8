// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Writes where every named control of both windows lies, for the scripts
// that click the real program under X: one shell array per control,
// "x y width height" in pixels from the corner of its window's client area,
// as the design tables place them on a 96 DPI screen. The scripts source
// the output instead of computing pixels from twips by hand.

#include "find_control.h"
#include "fake_printer.h"
#include "fake_runtime.h"
#include "fake_screen.h"
#include "fonts/font_catalogue.h"
#include "fonts/process_font_state.h"
#include "main_window/main_window.h"
#include "progress_window/progress_window.h"
#include "ui/list_box.h"

#include <QApplication>
#include <QRect>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace {

void printPlace(const char *window, const QString &name, const QRect &place)
{
    std::printf("%s_%s=(%d %d %d %d)\n", window, qPrintable(name), place.x(), place.y(),
                place.width(), place.height());
}

void printControls(const char *prefix, QWidget *window)
{
    for (QWidget *control : window->findChildren<QWidget *>()) {
        const QString name = control->objectName();
        // Qt's own inner widgets (viewports, scroll bars) carry no name or a
        // "qt_" one.
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_")))
            continue;
        printPlace(prefix, name, QRect(control->mapTo(window, QPoint(0, 0)), control->size()));
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString output = QApplication::arguments().value(1);
    if (output.isEmpty() || !std::freopen(qPrintable(output), "w", stdout)) {
        std::fprintf(stderr, "usage: control_places OUTPUT-FILE\n");
        return EXIT_FAILURE;
    }
    FakePrinter printer;
    FakeScreen screen;
    FakeRuntime runtime;
    ProcessFontState fontState;
    FontCatalogue fonts{fontState};
    MainWindow mainWindow(fonts, printer, screen, runtime);

    std::printf("# Control places in pixels at 96 DPI: x y width height from the corner\n"
                "# of the window's client area. Made by control_places at build time.\n");
    printControls("main", &mainWindow);
    printControls("progress", &mainWindow.progressWindow());

    // The first row of the font list in the design's face, and the height
    // of a row, for scripts that pick fonts by their row.
    ListBox *fontList = control<ListBox>(mainWindow, "fontList");
    fontList->addItem(QStringLiteral("Glyphora"));
    fontList->doItemsLayout();
    const QRect row = fontList->visualRect(fontList->model()->index(0, 0));
    printPlace("main", QStringLiteral("fontListFirstRow"),
               QRect(fontList->viewport()->mapTo(&mainWindow, row.topLeft()), row.size()));
    return std::fclose(stdout) == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}
