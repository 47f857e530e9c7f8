#include "host/system_printer.h"
#include "host/system_runtime.h"
#include "host/system_screen.h"
#include "main_window/main_window.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>
#include <exception>

namespace {

// Failures that no handler catches end up here: they are reported, and the
// program goes on with its next event.
class Application : public QApplication
{
public:
    using QApplication::QApplication;

    bool notify(QObject *receiver, QEvent *event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception &error) {
            reportFailure(error.what());
        }
        return false;
    }

    static void reportFailure(const char *what)
    {
        std::fprintf(stderr, "glyphora: %s\n", what);
        QMessageBox::critical(nullptr, QString::fromLatin1(SystemRuntime::ProgramTitle),
                              QString::fromLocal8Bit(what));
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

    MainWindow mainWindow(printer, screen, runtime);
    // Reads the fonts while the progress window counts them, then shows the
    // main window.
    mainWindow.load();
    return Application::exec();
}
