// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

// What changes the whole process for fonts has one owner: catalogues made
// without it, as tests and benchmarks make them, leave fontconfig's current
// configuration, its rescans and the bus-error handler as they found them;
// the owner changes them, puts them back when it goes, and is made once.

#include "fonts/font_catalogue.h"
#include "fonts/process_font_state.h"

#include <QTest>

#include <csignal>
#include <optional>
#include <stdexcept>

#include <fontconfig/fontconfig.h>

namespace {

// What the process's font state consists of, as the process sees it.
struct Seen
{
    FcConfig *current;
    int rescanInterval;
    void *busHandler;

    bool operator==(const Seen &) const = default;
};

Seen seen()
{
    struct sigaction action = {};
    sigaction(SIGBUS, nullptr, &action);
    FcConfig *current = FcConfigGetCurrent();
    return {current, FcConfigGetRescanInterval(current), reinterpret_cast<void *>(action.sa_sigaction)};
}

} // namespace

class tst_ProcessFontState : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void catalogueAlone_data();
    void catalogueAlone();
    void ownerChangesAndRestores();
    void secondOwnerFails();
};

void tst_ProcessFontState::catalogueAlone_data()
{
    QTest::addColumn<int>("catalogues");
    QTest::newRow("one") << 1;
    QTest::newRow("two at once") << 2;
}

void tst_ProcessFontState::catalogueAlone()
{
    QFETCH(int, catalogues);
    const Seen before = seen();
    {
        std::optional<FontCatalogue> first;
        std::optional<FontCatalogue> second;
        first.emplace();
        if (catalogues > 1)
            second.emplace();
        // Each still reads and answers as a catalogue does.
        QVERIFY(first->draws(QStringLiteral("DejaVu Sans")));
        QVERIFY(first->faceAvailable(QStringLiteral("DejaVu Sans")));
        QCOMPARE(seen(), before);
    }
    QCOMPARE(seen(), before);
}

void tst_ProcessFontState::ownerChangesAndRestores()
{
    const Seen before = seen();
    {
        ProcessFontState state;
        FontCatalogue fonts(state);
        const Seen during = seen();
        QVERIFY(during.current != before.current);
        QCOMPARE(during.rescanInterval, 0);
        QVERIFY(during.busHandler != before.busHandler);
        // Names still match against the installed faces, not the short
        // configuration that text borrows glyphs from.
        QCOMPARE(fonts.installedConfig(), state.installedConfig());
        QVERIFY(!fonts.fallbackFamilies().isEmpty());
    }
    QCOMPARE(seen(), before);
}

void tst_ProcessFontState::secondOwnerFails()
{
    ProcessFontState first;
    QVERIFY_THROWS_EXCEPTION(std::logic_error, ProcessFontState());
    // The first is still the owner, with its changes in force.
    QCOMPARE(seen().rescanInterval, 0);
}

QTEST_MAIN(tst_ProcessFontState)
#include "tst_process_font_state.moc"
