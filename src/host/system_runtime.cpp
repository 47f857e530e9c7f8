#include "host/system_runtime.h"

#include "host/printer.h"

#include <QCoreApplication>
#include <QDate>
#include <QLocale>
#include <QMessageBox>
#include <QSettings>

#include <cstdio>
#include <cstdlib>

namespace {

// One settings file per application name, in the user's config folder:
// ~/.config/<application>/<application>.conf.
QSettings openStore(const QString &application)
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, application, application);
}

const char *statusText(QSettings::Status status)
{
    switch (status) {
    case QSettings::NoError: return "no error";
    case QSettings::AccessError: return "the file cannot be read or written";
    case QSettings::FormatError: return "the file is damaged";
    }
    return "unknown error";
}

} // namespace

SystemRuntime::SystemRuntime(Printer &printer)
    : m_printer(printer)
{
}

void SystemRuntime::pumpEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void SystemRuntime::endProgram()
{
    // Leaving through _Exit skips every destructor and close handler, so
    // nothing of the interrupted routine runs on; settings are already on
    // disk, since every write is synced before it returns.
    try {
        m_printer.killDoc();
    } catch (const std::exception &error) {
        std::fprintf(stderr, "glyphora: %s\n", error.what());
    }
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(EXIT_SUCCESS);
}

void SystemRuntime::messageBox(const QString &text, int style, const QString &title)
{
    const QMessageBox::Icon icon =
        style == ExclamationMessage ? QMessageBox::Warning : QMessageBox::NoIcon;
    QMessageBox box(icon, title.isEmpty() ? QString::fromLatin1(ProgramTitle) : title, text,
                    QMessageBox::Ok);
    box.exec();
}

QString SystemRuntime::readSetting(const QString &application, const QString &section,
                                   const QString &key)
{
    QSettings store = openStore(application);
    if (store.status() != QSettings::NoError) {
        // A damaged file is not trusted at all: whatever the parser salvaged
        // could be a fragment of another entry.
        std::fprintf(stderr, "glyphora: ignoring the settings in %s: %s\n",
                     qPrintable(store.fileName()), statusText(store.status()));
        return {};
    }
    store.beginGroup(section);
    return store.value(key).toString();
}

void SystemRuntime::writeSetting(const QString &application, const QString &section,
                                 const QString &key, const QString &value)
{
    QSettings store = openStore(application);
    store.beginGroup(section);
    store.setValue(key, value);
    store.endGroup();
    // QSettings replaces the file atomically, so a failed write leaves the
    // earlier file whole.
    store.sync();
    if (store.status() != QSettings::NoError)
        std::fprintf(stderr, "glyphora: could not store the setting in %s: %s\n",
                     qPrintable(store.fileName()), statusText(store.status()));
}

QString SystemRuntime::shortDate()
{
    return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
}
