// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Click-to-sample latency: a mouse click on a fontList entry until the sample
// line has been repainted in that font, for every font family installed
// plus the 35 standard PostScript names that only a printer has, each
// clicked once, in a shuffled order, on the shown main window after the
// real start-up routine. The first click of the run is the first time the
// program asks the screen for a face.
//
// Then the sample line's repaint with long captions, beside a plain QLabel
// of the same place, font and caption.
//
// Prints "# ..." comments and lines of the form
//   clicks KIND COUNT FIRST_MS MEDIAN_MS P99_MS MAX_MS CPU_MEDIAN_MS CPU_P99_MS CPU_MAX_MS
//   caption CHARACTERS SAMPLE_LINE_MS PLAIN_QLABEL_MS
// The click times are wall-clock times; beside them the processor time of
// the program's thread, which leaves out the time that other processes
// on a busy machine took the processor away.
//
//   preview_bench [--repaints R] [--clicks N | --non-latin]
//       (default 5 repaints per caption; clicks on every family, or on N of
//       them picked at random, and on every printer-only name; or, with
//       --non-latin, scrolls to every name with a letter of another script
//       than Latin and clicks it, the scrolling timed with the click)

#include "find_control.h"
#include "fake_printer.h"
#include "fonts/font_catalogue.h"
#include "fonts/process_font_state.h"
#include "desktop/system_runtime.h"
#include "desktop/system_screen.h"
#include "ui/list_box.h"
#include "main_window/main_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

constexpr quint32 Seed = 1996;
constexpr int DefaultRepaints = 5;
// A click slower than a frame is named in the output.
constexpr double SlowClickMs = 16;

// The resident fonts of a PostScript printer's PPD.
const char *const PostScriptNames[] = {
    "AvantGarde-Book", "AvantGarde-BookOblique", "AvantGarde-Demi", "AvantGarde-DemiOblique",
    "Bookman-Demi", "Bookman-DemiItalic", "Bookman-Light", "Bookman-LightItalic",
    "Courier", "Courier-Bold", "Courier-BoldOblique", "Courier-Oblique",
    "Helvetica", "Helvetica-Bold", "Helvetica-BoldOblique", "Helvetica-Narrow",
    "Helvetica-Narrow-Bold", "Helvetica-Narrow-BoldOblique", "Helvetica-Narrow-Oblique",
    "Helvetica-Oblique", "NewCenturySchlbk-Bold", "NewCenturySchlbk-BoldItalic",
    "NewCenturySchlbk-Italic", "NewCenturySchlbk-Roman", "Palatino-Bold",
    "Palatino-BoldItalic", "Palatino-Italic", "Palatino-Roman", "Symbol", "Times-Bold",
    "Times-BoldItalic", "Times-Italic", "Times-Roman", "ZapfChancery-MediumItalic",
    "ZapfDingbats"};

double quantile(std::vector<double> values, double q)
{
    std::sort(values.begin(), values.end());
    const size_t at = std::min(values.size() - 1, size_t(std::ceil(q * values.size())) - 1);
    return values[at];
}

void fail(const char *what)
{
    std::fprintf(stderr, "preview_bench: %s\n", what);
    std::exit(EXIT_FAILURE);
}

struct Click
{
    double wallMs;
    double cpuMs;
};

double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

void report(const char *kind, const std::vector<Click> &clicks)
{
    if (clicks.empty())
        return;
    std::vector<double> wall;
    std::vector<double> cpu;
    for (const Click &click : clicks) {
        wall.push_back(click.wallMs);
        cpu.push_back(click.cpuMs);
    }
    std::printf("clicks %s %d %.2f %.2f %.2f %.2f %.2f %.2f %.2f\n", kind, int(clicks.size()),
                wall.front(), quantile(wall, 0.5), quantile(wall, 0.99),
                *std::max_element(wall.begin(), wall.end()), quantile(cpu, 0.5),
                quantile(cpu, 0.99), *std::max_element(cpu.begin(), cpu.end()));
}

double repaintMs(QWidget *widget, int repaints)
{
    std::vector<double> times;
    for (int i = 0; i < repaints; ++i) {
        QElapsedTimer timer;
        timer.start();
        widget->repaint();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    return quantile(times, 0.5);
}

// Text as users paste it: words, tabs, an emoji and a right-to-left phrase.
QString caption(int characters)
{
    const QString piece = QStringLiteral("Sample text\twith 😀 and \u05E9\u05DC\u05D5\u05DD ");
    QString text;
    text.reserve(characters + piece.size());
    while (text.size() < characters)
        text += piece;
    text.truncate(characters);
    return text;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ProcessFontState fontState;
    FontCatalogue fonts{fontState};
    // As the program sets it before any window exists.
    QApplication::setFont(fonts.textFont(QApplication::font()));
    fonts.keepFacesSetUp(QApplication::font());
    int repaints = DefaultRepaints;
    int familyClicks = -1;
    bool nonLatin = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--repaints") == 0 && i + 1 < argc)
            repaints = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--clicks") == 0 && i + 1 < argc)
            familyClicks = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--non-latin") == 0)
            nonLatin = true;
    }
    if (repaints < 1)
        fail("usage: preview_bench [--repaints R] [--clicks N]");

    // The printer's list as the real printer gives it: the print path's
    // families (the screen's), then its resident names. Which of those the
    // screen lacks is worked out here without the screen service, so that
    // the first click is its first question.
    const QStringList families = fonts.typefaces();
    const FamilySet screenFamilies(fonts.qtFamilies());
    QStringList printerOnly;
    for (const char *name : PostScriptNames) {
        if (!screenFamilies.contains(QString::fromLatin1(name)))
            printerOnly.append(QString::fromLatin1(name));
    }

    FakePrinter printer;
    printer.fontList = families + printerOnly;
    SystemScreen screen(fonts);
    SystemRuntime runtime;
    MainWindow mainWindow(fonts, printer, screen, runtime);
    mainWindow.load();
    if (!QTest::qWaitForWindowExposed(&mainWindow))
        fail("the main window did not show");
    ListBox *fontList = control<ListBox>(mainWindow, "fontList");
    QLabel *sampleLine = control<QLabel>(mainWindow, "sampleLine");

    std::vector<int> rows(fontList->count());
    for (int row = 0; row < fontList->count(); ++row)
        rows[row] = row;
    std::shuffle(rows.begin(), rows.end(), QRandomGenerator(Seed));
    if (familyClicks >= 0) {
        // N families at random, and every printer-only name.
        std::vector<int> picked;
        int families = 0;
        for (const int row : rows) {
            const bool onPrinterOnly = printerOnly.contains(fontList->text(row));
            if (onPrinterOnly || families < familyClicks) {
                picked.push_back(row);
                families += onPrinterOnly ? 0 : 1;
            }
        }
        rows = picked;
    }
    if (nonLatin) {
        const auto otherScript = [&](int row) {
            const QString name = fontList->text(row);
            return std::any_of(name.begin(), name.end(),
                               [](QChar c) { return c.script() > QChar::Script_Latin; });
        };
        std::erase_if(rows, [&](int row) { return !otherScript(row); });
    }

    std::printf("# platform %s, %d families and %d printer-only names\n",
                qPrintable(QGuiApplication::platformName()), int(families.size()),
                int(printerOnly.size()));
    std::vector<Click> all;
    std::vector<Click> drawable;
    std::vector<Click> printerOnlyClicks;
    for (const int row : rows) {
        const QModelIndex index = fontList->model()->index(row, 0);
        QElapsedTimer timer;
        double cpuStart = 0;
        const auto startTimer = [&] {
            timer.start();
            cpuStart = threadCpuMs();
        };
        if (nonLatin)
            startTimer();
        fontList->scrollTo(index);
        if (nonLatin)
            fontList->viewport()->repaint();
        QCoreApplication::processEvents();
        const QPoint centre = fontList->visualRect(index).center();

        if (!nonLatin)
            startTimer();
        QTest::mouseClick(fontList->viewport(), Qt::LeftButton, {}, centre);
        sampleLine->repaint();
        const Click click{timer.nsecsElapsed() / 1e6, threadCpuMs() - cpuStart};

        const QString name = fontList->text(row);
        const bool onPrinterOnly = printerOnly.contains(name);
        const QString expected = onPrinterOnly ? QStringLiteral("Printer Only Font") : name;
        if (fontList->currentText() != name || sampleLine->text() != expected)
            fail("a click did not show the font it should");
        if (click.wallMs > SlowClickMs)
            std::printf("# slow click %d: %.1f ms (%.1f ms processor time) on \"%s\"\n",
                        int(all.size()) + 1, click.wallMs, click.cpuMs, qPrintable(name));
        all.push_back(click);
        (onPrinterOnly ? printerOnlyClicks : drawable).push_back(click);
    }
    report("all", all);
    report("screen-font", drawable);
    report("printer-only", printerOnlyClicks);

    // The same place, font and colours without the sample line's drawing of
    // long captions, shown in its stead in turn.
    QLabel plain(&mainWindow);
    plain.setTextFormat(Qt::PlainText);
    plain.setAlignment(sampleLine->alignment());
    plain.setFont(sampleLine->font());
    plain.setGeometry(sampleLine->geometry());
    plain.hide();
    for (const int characters : {100, 1000, 32767, 1 << 20}) {
        const QString text = caption(characters);
        sampleLine->setText(text);
        plain.setText(text);
        const double sampleMs = repaintMs(sampleLine, repaints);
        sampleLine->hide();
        plain.show();
        const double qlabel = repaintMs(&plain, repaints);
        plain.hide();
        sampleLine->show();
        std::printf("caption %d %.2f %.2f\n", characters, sampleMs, qlabel);
    }
    return EXIT_SUCCESS;
}
