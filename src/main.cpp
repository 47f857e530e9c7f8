#include "host/system_printer.h"
#include "host/system_runtime.h"
#include "host/system_screen.h"
#include "main_window/main_window.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <exception>

namespace {

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

bool hasDisplay()
{
    // Qt aborts with a bare "could not load xcb" when there is no display;
    // say so plainly instead.
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY")
        || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char *argv[])
{
    if (!hasDisplay()) {
        std::fprintf(stderr, "glyphora: no display to show the window on (DISPLAY is not set)\n");
        return EXIT_FAILURE;
    }

    Application app(argc, argv);
    Application::setApplicationName(QString::fromLatin1(SystemRuntime::ProgramTitle));
    // Ties the windows to the installed menu entry and its icon.
    Application::setDesktopFileName(QStringLiteral(GLYPHORA_APP_ID));
    // The program ends only through its own end-the-program service.
    Application::setQuitOnLastWindowClosed(false);

    SystemPrinter printer;
    SystemScreen screen;
    SystemRuntime runtime([&printer] { printer.abandonDocAtExit(); });
    app.runtime = &runtime;

    MainWindow mainWindow(printer, screen, runtime);
    // Reads the fonts while the progress window counts them, then shows the
    // main window. A catalogue that could not be read whole is no base to
    // go on from.
    try {
        mainWindow.load();
    } catch (const std::exception &error) {
        runtime.reportFailure(QString::fromUtf8(error.what()));
        return EXIT_FAILURE;
    }
    return Application::exec();
}
