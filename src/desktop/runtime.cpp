// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "desktop/runtime.h"

#include <exception>
#include <optional>

namespace {

// Runs step and returns what made it fail, or nothing when it ran to its end.
std::optional<QString> failureOf(const std::function<void()> &step)
{
    try {
        step();
    } catch (const std::exception &error) {
        return QString::fromUtf8(error.what());
    }
    return std::nullopt;
}

} // namespace

void runHandler(Runtime &runtime, const std::function<void()> &handler,
                const std::function<void()> &recover)
{
    // The report's message box runs an event loop of its own: it is shown
    // once the exception is done with, not from inside the catch.
    const std::optional<QString> failure = failureOf(handler);
    if (!failure)
        return;
    runtime.reportFailure(*failure);
    if (!recover)
        return;
    // A failure while putting things back is one more to tell of, and must
    // not reach Qt either.
    if (const std::optional<QString> second = failureOf(recover))
        runtime.reportFailure(*second);
}
