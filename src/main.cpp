// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "desktop/desktop_notifier.h"
#include "desktop/program_name.h"
#include "desktop/system_runtime.h"
#include "desktop/system_screen.h"
#include "desktop/translations.h"
#include "fonts/font_catalogue.h"
#include "fonts/process_font_state.h"
#include "printing/system_printer.h"
#include "main_window/main_window.h"
#include "program/platform_choice.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>

namespace {

// The exit status of a command line that the program does not understand,
// as for other command-line tools.
constexpr int UsageError = 2;

// The net for failures in event code outside the handlers, which catch
// their own at their boundary: they are reported, and the program goes on
// with its next event.
class Application : public QApplication
{
public:
    using QApplication::QApplication;

    // Where failures are reported; set before the first event.
    Runtime *runtime = nullptr;

    bool notify(QObject *receiver, QEvent *event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception &error) {
            runtime->reportFailure(QString::fromUtf8(error.what()));
        }
        return false;
    }
};

void printLine(std::FILE *stream, const QString &text)
{
    std::fprintf(stream, "glyphora: %s\n", qPrintable(text));
}

} // namespace

int main(int argc, char *argv[])
{
    PlatformChoice platform(argc, argv, [](const char *name) { return qgetenv(name); });

    // --help and --version need no display: without one, a plain core
    // application reads the command line.
    std::unique_ptr<QCoreApplication> app;
    Application *gui = nullptr;
    if (platform.hasDisplay())
        app.reset(gui = new Application(platform.argc(), platform.argv()));
    else
        app = std::make_unique<QCoreApplication>(platform.argc(), platform.argv());
    QCoreApplication::setApplicationName(QString::fromLatin1(ProgramName::Text));
    QCoreApplication::setApplicationVersion(QStringLiteral(GLYPHORA_VERSION));
    installTranslations();

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QCoreApplication::translate("main", "Look at the fonts your printer offers and print a font sheet."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    if (!parser.parse(QCoreApplication::arguments())) {
        printLine(stderr, parser.errorText());
        return UsageError;
    }
    if (parser.isSet(help)) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return EXIT_SUCCESS;
    }
    if (parser.isSet(version)) {
        std::printf("%s %s\n", qPrintable(QCoreApplication::applicationName()),
                    qPrintable(QCoreApplication::applicationVersion()));
        return EXIT_SUCCESS;
    }
    if (!parser.positionalArguments().isEmpty()) {
        printLine(stderr, QCoreApplication::translate("main", "unexpected argument '%1'")
                              .arg(parser.positionalArguments().constFirst()));
        return UsageError;
    }
    if (!platform.hasDisplay()) {
        printLine(stderr, QCoreApplication::translate(
                              "main", "no display to show the window on (DISPLAY is not set)"));
        return EXIT_FAILURE;
    }

    // Ties the windows to the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(GLYPHORA_APP_ID));
    // The program ends only through its own end-the-program service.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    // Everything the program changes about fonts for the whole process, for
    // as long as it runs: made once, before the fonts are read.
    ProcessFontState fontState;
    // Reads the installed fonts.
    FontCatalogue fonts(fontState);
    // The desktop's font is often a generic name ("Sans Serif") that Qt
    // looks up through fontconfig's whole fallback list: the installed face
    // that it stands for is asked for instead. Message boxes draw in it.
    QGuiApplication::setFont(fonts.textFont(QGuiApplication::font()));
    fonts.keepFacesSetUp(QGuiApplication::font());

    DesktopNotifier notifier;
    SystemPrinter printer(fonts, notifier);
    SystemScreen screen(fonts);
    SystemRuntime runtime([&printer] { printer.abandonDocAtExit(); });
    gui->runtime = &runtime;

    MainWindow mainWindow(fonts, printer, screen, runtime);
    // Reads the fonts while the progress window counts them, then shows the
    // main window. A catalogue that could not be read whole is no base to
    // go on from.
    try {
        mainWindow.load();
    } catch (const std::exception &error) {
        runtime.reportFailure(QString::fromUtf8(error.what()));
        return EXIT_FAILURE;
    }
    return QCoreApplication::exec();
}
