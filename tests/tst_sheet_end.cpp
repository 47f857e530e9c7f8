// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The end of a sheet drawn in parts, through the PDF printer, with a
// stand-in joiner that is slow or fails: the wait for it goes on doing
// what it is given, and a join called off, failed, or dropped by a program
// that ends leaves no file and no process.

#include "fake_notifier.h"
#include "fonts/font_catalogue.h"
#include "printing/system_printer.h"

#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <algorithm>

namespace {

// A part per font: a sheet of a few fonts is joined from as many parts.
constexpr int FontsPerPart = 1;
const QStringList Families = {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Sans"),
                              QStringLiteral("Liberation Mono")};

void printSheet(SystemPrinter &printer)
{
    for (const QString &family : Families) {
        printer.setFontName(family);
        printer.setFontSize(400); // a page each
        printer.printLine(family);
    }
}

// What the join's wait does in the test.
enum class Meanwhile { Wait, CallOff, EndProgram };

} // namespace

Q_DECLARE_METATYPE(Meanwhile)

class tst_SheetEnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void joiner_data();
    void joiner();

private:
    QStringList standInPids() const;

    QTemporaryDir m_home;
    QString m_documents;
    FontCatalogue m_fonts;
    FakeNotifier m_notifier;
};

void tst_SheetEnd::initTestCase()
{
    QVERIFY(m_home.isValid());
    qputenv("HOME", QFile::encodeName(m_home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(QStringLiteral(".config"))));
    qputenv("GLYPHORA_STANDIN_PIDS", QFile::encodeName(m_home.filePath(QStringLiteral("pids"))));
    m_documents = m_home.filePath(QStringLiteral("Documents"));
}

void tst_SheetEnd::init()
{
    QDir(m_documents).removeRecursively();
    QFile::remove(m_home.filePath(QStringLiteral("pids")));
    m_notifier.filed.clear();
}

QStringList tst_SheetEnd::standInPids() const
{
    QFile file(m_home.filePath(QStringLiteral("pids")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void tst_SheetEnd::joiner_data()
{
    QTest::addColumn<QString>("behaviour");
    QTest::addColumn<Meanwhile>("meanwhile");
    QTest::addColumn<bool>("filed");
    QTest::addColumn<QString>("failure");

    QTest::newRow("slow, waited for") << "slow 0.4" << Meanwhile::Wait << true << "";
    QTest::newRow("slow, called off") << "slow 30" << Meanwhile::CallOff << false << "";
    QTest::newRow("slow, the program ends") << "slow 30" << Meanwhile::EndProgram << false << "";
    QTest::newRow("failing") << "fail" << Meanwhile::Wait << false << "not a PDF";
}

void tst_SheetEnd::joiner()
{
    QFETCH(QString, behaviour);
    QFETCH(Meanwhile, meanwhile);
    QFETCH(bool, filed);
    QFETCH(QString, failure);

    qputenv("GLYPHORA_STANDIN_JOINER", behaviour.toLatin1());
    SystemPrinter printer(m_fonts, m_notifier, FontsPerPart);
    printSheet(printer);

    // The longest the wait went without coming back to the caller, and
    // whether the joiner was gone after a program's end.
    int turns = 0;
    qint64 longestGapMs = 0;
    QElapsedTimer sinceLast;
    bool joinerGone = false;
    QList<int> percents;
    const auto whileWaiting = [&](int percentDone) {
        if (percents.isEmpty() || percents.last() != percentDone)
            percents.append(percentDone);
        if (sinceLast.isValid())
            longestGapMs = std::max(longestGapMs, sinceLast.elapsed());
        sinceLast.start();
        if (++turns < 5 || meanwhile == Meanwhile::Wait)
            return true;
        if (meanwhile == Meanwhile::EndProgram) {
            // What the program runs as it ends: its end follows at once.
            printer.abandonDocAtExit();
            joinerGone = ::kill(standInPids().value(0).toInt(), 0) != 0;
        }
        return false;
    };
    QString thrown;
    bool finished = false;
    try {
        finished = printer.finish(whileWaiting);
    } catch (const PrinterError &error) {
        thrown = QString::fromUtf8(error.what());
    }

    QCOMPARE(finished, filed);
    QCOMPARE(m_notifier.filed.size(), filed ? 1 : 0);
    QCOMPARE(QDir(m_documents).entryList(QDir::Files | QDir::Hidden).size(), filed ? 1 : 0);
    QVERIFY2(failure.isEmpty() ? thrown.isEmpty() : thrown.contains(failure), qPrintable(thrown));
    // The stand-in ran, and is gone, not even left for its parent to reap.
    const QStringList pids = standInPids();
    QCOMPARE(pids.size(), 1);
    QVERIFY(!QFile::exists(QStringLiteral("/proc/%1").arg(pids.first())));
    if (meanwhile == Meanwhile::EndProgram)
        QVERIFY(joinerGone);
    if (behaviour.startsWith(QLatin1String("slow"))) {
        QVERIFY(turns >= 5);
        // What the joiner says of how far it is reaches the wait, and only
        // ever grows.
        QVERIFY2(percents.contains(40), qPrintable(QDebug::toString(percents)));
        QVERIFY(std::is_sorted(percents.begin(), percents.end()));
        // Well under the join's own 0.4 s, on a busy machine too.
        QVERIFY2(longestGapMs < 200, qPrintable(QString::number(longestGapMs)));
    }
}

QTEST_MAIN(tst_SheetEnd)
#include "tst_sheet_end.moc"
