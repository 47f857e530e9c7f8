// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "desktop/runtime.h"

#include <functional>

// The runtime services of the running Qt application.
class SystemRuntime : public Runtime
{
public:
    // beforeEnd runs when the program ends, just before it goes: the place
    // to drop an unfinished print document so that nothing is left behind.
    explicit SystemRuntime(std::function<void()> beforeEnd = {});

    void pumpEvents() override;
    [[noreturn]] void endProgram() override;
    void messageBox(const QString &text, MessageStyle style, const QString &title = {},
                    const QString &details = {}) override;
    QString readSetting(const QString &application, const QString &section,
                        const QString &key) override;
    void writeSetting(const QString &application, const QString &section, const QString &key,
                      const QString &value) override;
    QString shortDate() override;
    void logFailure(const QString &what) override;
    void reportFailure(const QString &what) override;

private:
    std::function<void()> m_beforeEnd;
};
