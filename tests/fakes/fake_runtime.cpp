// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fake_runtime.h"

#include <QCoreApplication>

QString FakeRuntime::settingPath(const QString &application, const QString &section,
                                 const QString &key)
{
    return application + QLatin1Char('/') + section + QLatin1Char('/') + key;
}

void FakeRuntime::pumpEvents()
{
    ++pumps;
    record(QStringLiteral("Pump"));
    if (processQtEvents)
        QCoreApplication::processEvents();
    if (onPump)
        onPump(pumps);
    if (endProgramCalls > 0)
        throw ProgramEnded();
}

void FakeRuntime::endProgram()
{
    ++endProgramCalls;
    record(QStringLiteral("EndProgram"));
}

void FakeRuntime::messageBox(const QString &text, MessageStyle style, const QString &title,
                             const QString &details)
{
    messages.append({text, style, title, details});
    record(QStringLiteral("MsgBox:%1").arg(text));
}

QString FakeRuntime::readSetting(const QString &application, const QString &section,
                                 const QString &key)
{
    return settings.value(settingPath(application, section, key));
}

void FakeRuntime::writeSetting(const QString &application, const QString &section,
                               const QString &key, const QString &value)
{
    ++settingWrites;
    settings.insert(settingPath(application, section, key), value);
    record(QStringLiteral("SaveSetting:%1").arg(value));
}

void FakeRuntime::logFailure(const QString &what)
{
    logged.append(what);
    record(QStringLiteral("Log:%1").arg(what));
}

void FakeRuntime::reportFailure(const QString &what)
{
    failures.append(what);
    record(QStringLiteral("Failure:%1").arg(what));
}

void FakeRuntime::record(const QString &entry)
{
    if (journal)
        journal->append(entry);
}
