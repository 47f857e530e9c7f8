// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <functional>

// General services of the user-interface runtime.
class Runtime
{
public:
    // What a message box shows beside its text.
    enum class MessageStyle { Plain, Exclamation };

    virtual ~Runtime() = default;

    // Handles every pending window message and input event once, then
    // returns. Handlers of any window run inside it.
    virtual void pumpEvents() = 0;

    // Ends the program at once: no further statement of a running routine
    // runs and no close handling runs. The real service never returns; a
    // caller returns straight after it all the same.
    virtual void endProgram() = 0;

    // A modal box with an OK button. An empty title means the program's
    // title. Details, when given, wait behind a button of their own, so
    // that the text stays as it is.
    virtual void messageBox(const QString &text, MessageStyle style, const QString &title = {},
                            const QString &details = {}) = 0;

    // Reads an absent entry as "".
    virtual QString readSetting(const QString &application, const QString &section,
                                const QString &key) = 0;
    // The value is on disk when the call returns. A value that cannot be
    // stored leaves the stored file as it was, and is told of on stderr and
    // in a message box naming the file and the reason; the caller goes on
    // either way.
    virtual void writeSetting(const QString &application, const QString &section,
                              const QString &key, const QString &value) = 0;

    // Today's date in the user's short date format.
    virtual QString shortDate() = 0;

    // Writes a failure's reason to stderr as one line, so that the journal
    // keeps it whatever the user is shown.
    virtual void logFailure(const QString &what) = 0;

    // Tells of a failure that no routine of the program caught: one line on
    // stderr and a message box, both in the failure's own words.
    virtual void reportFailure(const QString &what) = 0;
};

// Runs an event handler. Qt's signal delivery does not carry exceptions, so
// a failure that no routine inside the handler caught stops here: it is
// reported once, then recover() puts back what the handler left half done.
void runHandler(Runtime &runtime, const std::function<void()> &handler,
                const std::function<void()> &recover = {});
