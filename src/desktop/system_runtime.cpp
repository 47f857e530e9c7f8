// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "desktop/system_runtime.h"

#include "desktop/program_name.h"

#include <QCoreApplication>
#include <QDate>
#include <QLocale>
#include <QMessageBox>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSettings>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
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

// Reads a written settings file back from the disk. QSettings keeps every
// file it wrote in a cache by path, so the file is read under a second name.
bool holdsEntries(const QString &path, const QHash<QString, QVariant> &entries,
                  const QString &entry)
{
    const QString second = path + QStringLiteral(".check");
    ::unlink(QFile::encodeName(second).constData());
    if (::link(QFile::encodeName(path).constData(), QFile::encodeName(second).constData()) != 0)
        return false;
    bool whole = false;
    {
        QSettings check(second, QSettings::IniFormat);
        whole = check.status() == QSettings::NoError && check.allKeys().size() == entries.size()
             && check.value(entry) == entries.value(entry);
    }
    ::unlink(QFile::encodeName(second).constData());
    return whole;
}

QString translated(const char *text)
{
    return QCoreApplication::translate("SystemRuntime", text);
}

// QSettings' own atomic save renames a truncated file over the good one
// when the disk fills up in the middle of the write. So the new settings are
// written to a draft beside the file, read back and compared, and only a
// draft that holds every entry replaces the file. Returns why the value is
// not on disk, in the user's language, or "" when it is.
QString storeSetting(QSettings &store, const QString &section, const QString &key, const QString &value)
{
    const QFileInfo target(store.fileName());
    if (!QDir().mkpath(target.path()))
        return translated(QT_TRANSLATE_NOOP("SystemRuntime", "its folder cannot be made"));

    QTemporaryFile draftFile(target.filePath() + QStringLiteral(".XXXXXX"));
    // The system's own words: "Permission denied", "Read-only file system".
    if (!draftFile.open())
        return draftFile.errorString();
    draftFile.close();
    const QString draftPath = draftFile.fileName();

    const QString entry = section + QLatin1Char('/') + key;
    QHash<QString, QVariant> entries;
    for (const QString &name : store.allKeys())
        entries.insert(name, store.value(name));
    entries.insert(entry, value);
    {
        QSettings draft(draftPath, QSettings::IniFormat);
        for (auto it = entries.cbegin(); it != entries.cend(); ++it)
            draft.setValue(it.key(), it.value());
        draft.sync();
        if (draft.status() != QSettings::NoError)
            return translated(QT_TRANSLATE_NOOP("SystemRuntime", "the new file cannot be written"));
    }
    if (!holdsEntries(draftPath, entries, entry))
        return translated(QT_TRANSLATE_NOOP("SystemRuntime", "the new file could not be written whole; the disk may be full"));
    // The draft was synced to disk by QSettings; the rename makes it the file.
    if (std::rename(QFile::encodeName(draftPath).constData(),
                    QFile::encodeName(target.filePath()).constData()) != 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    draftFile.setAutoRemove(false);
    // The rename itself is on disk once the folder is synced.
    const int folder = ::open(QFile::encodeName(target.path()).constData(), O_RDONLY | O_DIRECTORY);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return {};
}

} // namespace

SystemRuntime::SystemRuntime(std::function<void()> beforeEnd)
    : m_beforeEnd(std::move(beforeEnd))
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
    if (m_beforeEnd) {
        try {
            m_beforeEnd();
        } catch (const std::exception &error) {
            std::fprintf(stderr, "glyphora: %s\n", error.what());
        }
    }
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(EXIT_SUCCESS);
}

void SystemRuntime::messageBox(const QString &text, MessageStyle style, const QString &title,
                               const QString &details)
{
    const QMessageBox::Icon icon =
        style == MessageStyle::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon;
    QMessageBox box(icon, title.isEmpty() ? ProgramName::title() : title, text, QMessageBox::Ok);
    // Qt's "Show Details..." button, in the user's language through Qt's
    // own catalogue.
    box.setDetailedText(details);
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
    const QString reason = storeSetting(store, section, key, value);
    if (reason.isEmpty())
        return;
    // Whoever asked goes on, and Exit ends the program: the user hears of
    // the lost text before that.
    const QString message =
        translated(QT_TRANSLATE_NOOP("SystemRuntime", "The settings could not be stored in \"%1\": %2."))
            .arg(store.fileName(), reason);
    logFailure(message);
    messageBox(message, MessageStyle::Exclamation);
}

void SystemRuntime::logFailure(const QString &what)
{
    // One line, so that each failure is one entry of the journal.
    QString line = what;
    line.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
    std::fprintf(stderr, "glyphora: %s\n", qPrintable(line));
}

void SystemRuntime::reportFailure(const QString &what)
{
    logFailure(what);
    QMessageBox::critical(nullptr, ProgramName::title(), what);
}

QString SystemRuntime::shortDate()
{
    return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
}
