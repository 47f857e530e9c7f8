// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "desktop/runtime.h"

#include <QHash>
#include <QList>
#include <QStringList>

#include <functional>

// Thrown out of the event pump once a handler inside it has ended the
// program, so that the driving routine stops there as it would for real.
struct ProgramEnded
{
};

// Runtime services for tests. The event pump runs the test's onPump hook,
// the test's stand-in for what a user does meanwhile; ending the program is
// recorded, the handler that asked for it returns, and the pump it ran in
// then throws ProgramEnded.
class FakeRuntime : public Runtime
{
public:
    struct Message
    {
        QString text;
        MessageStyle style;
        QString title;
        QString details;
    };

    // Called with the 1-based number of the pump call.
    std::function<void(int pump)> onPump;
    // Also handle Qt's pending events in each pump (repaints, posted calls).
    bool processQtEvents = false;
    QString date = QStringLiteral("12/9/26");

    int pumps = 0;
    int endProgramCalls = 0;
    QList<Message> messages;
    QHash<QString, QString> settings; // "application/section/key" -> value
    int settingWrites = 0;
    // Failures that no routine caught, as reported.
    QStringList failures;
    // Lines written to the journal.
    QStringList logged;
    QStringList *journal = nullptr;

    static QString settingPath(const QString &application, const QString &section,
                               const QString &key);

    void pumpEvents() override;
    void endProgram() override;
    void messageBox(const QString &text, MessageStyle style, const QString &title = {},
                    const QString &details = {}) override;
    QString readSetting(const QString &application, const QString &section,
                        const QString &key) override;
    void writeSetting(const QString &application, const QString &section, const QString &key,
                      const QString &value) override;
    QString shortDate() override { return date; }
    void logFailure(const QString &what) override;
    void reportFailure(const QString &what) override;

private:
    void record(const QString &entry);
};
