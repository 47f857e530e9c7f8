// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The real screen and runtime services: settings on disk, the mouse
// pointer, message boxes, and the family lists read from Qt.

#include "fake_runtime.h"
#include "fonts/font_catalogue.h"
#include "fonts/process_font_state.h"
#include "desktop/system_runtime.h"
#include "desktop/system_screen.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QScopeGuard>
#include <QTimer>

#include <csignal>
#include <stdexcept>
#include <cstdio>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString App = QStringLiteral("Glyphora");
const QString Section = QStringLiteral("User Text");
const QString Key = QStringLiteral("Text");

// Collects what the code under test writes to stderr.
class StderrCapture
{
public:
    StderrCapture()
    {
        std::fflush(stderr);
        m_saved = dup(STDERR_FILENO);
        m_file = std::tmpfile();
        dup2(fileno(m_file), STDERR_FILENO);
    }
    ~StderrCapture() { restore(); }

    QString text()
    {
        restore();
        std::rewind(m_file);
        QByteArray bytes;
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, m_file)) > 0)
            bytes.append(buffer, static_cast<qsizetype>(n));
        return QString::fromLocal8Bit(bytes);
    }

private:
    void restore()
    {
        if (m_saved < 0)
            return;
        std::fflush(stderr);
        dup2(m_saved, STDERR_FILENO);
        close(m_saved);
        m_saved = -1;
    }

    int m_saved = -1;
    FILE *m_file = nullptr;
};

// What keeps the settings from being written.
enum class Blocker { FileForFolder, ReadOnlyFolder, FullDisk };

} // namespace

Q_DECLARE_METATYPE(Blocker)

class tst_SystemRuntime : public QObject
{
    Q_OBJECT

    // The installed fonts, read as the program reads them at start.
    ProcessFontState m_fontState;
    FontCatalogue m_fonts{m_fontState};

private Q_SLOTS:
    void cleanup();
    void init();

    void settingRoundTrip_data();
    void settingRoundTrip();
    void absentSettingReadsEmpty();
    void damagedSettingsFile_data();
    void damagedSettingsFile();
    void unwritableStore_data();
    void unwritableStore();

    void pointerIsAPlainSetting();
    void canDrawOnlyInstalledFamilies_data();
    void canDrawOnlyInstalledFamilies();
    void typefaceFamilies_data();
    void typefaceFamilies();

    void messageBox_data();
    void messageBox();
    void reportFailure();
    void runHandler_data();
    void runHandler();

private:
    QString settingsFile() const;

    std::unique_ptr<QTemporaryDir> m_config;
};

void tst_SystemRuntime::cleanup()
{
    // Every window a test made is gone again.
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_SystemRuntime::init()
{
    m_config = std::make_unique<QTemporaryDir>();
    QVERIFY(m_config->isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_config->path());
}

QString tst_SystemRuntime::settingsFile() const
{
    return m_config->filePath(QStringLiteral("Glyphora/Glyphora.conf"));
}

void tst_SystemRuntime::settingRoundTrip_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("plain") << QStringLiteral("abc");
    QTest::newRow("tabs, emoji, right to left")
        << QStringLiteral("a\tb\t\U0001F600 \u05E9\u05DC\u05D5\u05DD \u0645\u0631\u062D\u0628\u0627");
    QTest::newRow("ini syntax") << QStringLiteral("[User Text]\nText=x ; # = \"q\" \\ @Variant(");
    QTest::newRow("leading at sign") << QStringLiteral("@ByteArray(abc)");
    QTest::newRow("blanks at the ends") << QStringLiteral("  two blanks  ");
    QTest::newRow("1 MB") << QString(1 << 20, QLatin1Char('x')) + QStringLiteral("\u00e9nd");
}

void tst_SystemRuntime::settingRoundTrip()
{
    QFETCH(QString, text);

    SystemRuntime runtime;
    runtime.writeSetting(App, Section, Key, QStringLiteral("earlier"));
    runtime.writeSetting(App, Section, Key, text);
    QVERIFY(QFile::exists(settingsFile()));

    // A fresh runtime reads what is on disk, as the next run of the program does.
    SystemRuntime nextRun;
    QCOMPARE(nextRun.readSetting(App, Section, Key), text);
}

void tst_SystemRuntime::absentSettingReadsEmpty()
{
    SystemRuntime runtime;
    QCOMPARE(runtime.readSetting(App, Section, Key), QString());
    runtime.writeSetting(App, QStringLiteral("Other"), Key, QStringLiteral("x"));
    QCOMPARE(runtime.readSetting(App, Section, Key), QString());
}

void tst_SystemRuntime::damagedSettingsFile_data()
{
    QTest::addColumn<QByteArray>("contents");

    QTest::newRow("unclosed section") << QByteArray("[User Text\nText=abc\n");
    QTest::newRow("binary") << QByteArray("\x00\x01\x02\xff\xfe[User", 10);
    QTest::newRow("not a string") << QByteArray("[User%20Text]\nText=@Variant(\\0\\0\\0\\x7f)\n");
}

void tst_SystemRuntime::damagedSettingsFile()
{
    QFETCH(QByteArray, contents);

    QVERIFY(QDir().mkpath(m_config->filePath(QStringLiteral("Glyphora"))));
    QFile file(settingsFile());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
    file.close();

    SystemRuntime runtime;
    StderrCapture capture;
    QCOMPARE(runtime.readSetting(App, Section, Key), QString());
    capture.text();

    // The next Exit still stores the text, over the damaged file.
    runtime.writeSetting(App, Section, Key, QStringLiteral("mended"));
    QCOMPARE(SystemRuntime().readSetting(App, Section, Key), QStringLiteral("mended"));
}

void tst_SystemRuntime::unwritableStore_data()
{
    QTest::addColumn<Blocker>("blocker");
    QTest::addColumn<QString>("reason");

    // A plain file where the program's settings folder belongs: nothing can
    // be written there, even by root.
    QTest::newRow("folder taken by a file") << Blocker::FileForFolder << "its folder cannot be made";
    // chmod 0555 for a user; root passes by modes, so a read-only mount then.
    QTest::newRow("read-only folder") << Blocker::ReadOnlyFolder
                                      << (::getuid() == 0 ? "Read-only file system" : "Permission denied");
    QTest::newRow("full disk") << Blocker::FullDisk << "the disk may be full";
}

void tst_SystemRuntime::unwritableStore()
{
    QFETCH(Blocker, blocker);
    QFETCH(QString, reason);

    SystemRuntime runtime;
    const QString folder = m_config->filePath(QStringLiteral("Glyphora"));
    QByteArray stored;
    if (blocker == Blocker::FileForFolder) {
        QFile file(folder);
        QVERIFY(file.open(QIODevice::WriteOnly));
    } else {
        runtime.writeSetting(App, Section, Key, QStringLiteral("abc"));
        QFile file(settingsFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        stored = file.readAll();
    }

    // A full disk: no file may grow past 1 KiB while the limit holds.
    struct rlimit saved;
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    const auto unblock = [&] {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
        ::chmod(QFile::encodeName(folder).constData(), 0755);
        ::umount2(QFile::encodeName(folder).constData(), MNT_DETACH);
    };
    const auto unblockOnFailure = qScopeGuard(unblock);
    if (blocker == Blocker::FullDisk) {
        struct rlimit tight = saved;
        tight.rlim_cur = 1024;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &tight), 0);
    } else if (blocker == Blocker::ReadOnlyFolder && ::getuid() != 0) {
        QCOMPARE(::chmod(QFile::encodeName(folder).constData(), 0555), 0);
    } else if (blocker == Blocker::ReadOnlyFolder) {
        // The mount is this test's own: the process leaves the shared mounts.
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            QSKIP("no mount namespace of its own for a read-only folder");
        const QByteArray path = QFile::encodeName(folder);
        QCOMPARE(::mount(path.constData(), path.constData(), nullptr, MS_BIND, nullptr), 0);
        QCOMPARE(::mount(nullptr, path.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr), 0);
    }

    QStringList boxes;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        boxes.append(box->text());
        QCOMPARE(box->icon(), QMessageBox::Warning);
        box->button(QMessageBox::Ok)->click();
    });
    QString logged;
    {
        StderrCapture capture;
        runtime.writeSetting(App, Section, Key, QString(8192, QLatin1Char('y')));
        logged = capture.text();
    }
    unblock();

    // One box and the same one line on stderr, naming the file and why.
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(logged, "glyphora: " + boxes.first() + "\n");
    QVERIFY2(boxes.first().contains(settingsFile()), qPrintable(boxes.first()));
    QVERIFY2(boxes.first().contains(reason), qPrintable(boxes.first()));
    // The stored file is as it was, and nothing was left beside it.
    if (blocker != Blocker::FileForFolder) {
        QFile file(settingsFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), stored);
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"Glyphora.conf"});
    }
}

void tst_SystemRuntime::pointerIsAPlainSetting()
{
    SystemScreen screen(m_fonts);
    screen.setMousePointer(Screen::Pointer::Busy);
    screen.setMousePointer(Screen::Pointer::Busy);
    QVERIFY(QGuiApplication::overrideCursor());
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QCOMPARE(screen.mousePointer(), Screen::Pointer::Busy);

    // Two busy settings and one default leave the default pointer.
    screen.setMousePointer(Screen::Pointer::Default);
    QVERIFY(!QGuiApplication::overrideCursor());
    QCOMPARE(screen.mousePointer(), Screen::Pointer::Default);
    screen.setMousePointer(Screen::Pointer::Default);
    QVERIFY(!QGuiApplication::overrideCursor());
}

void tst_SystemRuntime::canDrawOnlyInstalledFamilies_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("drawable");

    QTest::newRow("installed") << "Liberation Sans" << true;
    QTest::newRow("other case") << "liberation serif" << true;
    QTest::newRow("plain name of a foundry twin") << "URW Gothic" << true;
    QTest::newRow("resident printer name") << "AvantGarde-Book" << false;
    QTest::newRow("metric alias, not installed") << "Arial" << false;
    QTest::newRow("unknown") << "NoSuchFont" << false;
    QTest::newRow("empty") << "" << false;
}

void tst_SystemRuntime::canDrawOnlyInstalledFamilies()
{
    QFETCH(QString, family);
    QFETCH(bool, drawable);

    SystemScreen screen(m_fonts);
    QCOMPARE(screen.canDrawFont(family), drawable);
}

void tst_SystemRuntime::typefaceFamilies_data()
{
    QTest::addColumn<QStringList>("qt");
    QTest::addColumn<QStringList>("typefaces");

    QTest::newRow("generic aliases dropped")
        << QStringList{"DejaVu Sans", "Monospace", "Sans Serif", "Serif", "Z003"}
        << QStringList{"DejaVu Sans", "Z003"};
    QTest::newRow("foundry twins folded in place")
        << QStringList{"C059 [UKWN]", "C059 [urw]", "D050000L [URW ]", "DejaVu Sans"}
        << QStringList{"C059", "D050000L", "DejaVu Sans"};
    QTest::newRow("brackets that are no tag")
        << QStringList{"[Bracketed]", "Name [x] Pro"} << QStringList{"[Bracketed]", "Name [x] Pro"};
}

void tst_SystemRuntime::typefaceFamilies()
{
    QFETCH(QStringList, qt);
    QFETCH(QStringList, typefaces);
    QCOMPARE(::typefaceFamilies(qt), typefaces);
}

void tst_SystemRuntime::messageBox_data()
{
    QTest::addColumn<Runtime::MessageStyle>("style");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("shownTitle");
    QTest::addColumn<int>("icon");

    QTest::newRow("exclamation with a title")
        << Runtime::MessageStyle::Exclamation << "Error" << "Error" << int(QMessageBox::Warning);
    QTest::newRow("plain, program's title")
        << Runtime::MessageStyle::Plain << "" << "Glyphora" << int(QMessageBox::NoIcon);
}

void tst_SystemRuntime::messageBox()
{
    QFETCH(Runtime::MessageStyle, style);
    QFETCH(QString, title);
    QFETCH(QString, shownTitle);
    QFETCH(int, icon);

    const QString text = QStringLiteral("An Error has occured.  Please notify the author.");
    QString seenTitle;
    QString seenText;
    int seenIcon = -1;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        seenTitle = box->windowTitle();
        seenText = box->text();
        seenIcon = box->icon();
        QCOMPARE(box->buttons().size(), 1);
        box->button(QMessageBox::Ok)->click();
    });
    SystemRuntime().messageBox(text, style, title);
    QCOMPARE(seenTitle, shownTitle);
    QCOMPARE(seenText, text);
    QCOMPARE(seenIcon, icon);
}

void tst_SystemRuntime::reportFailure()
{
    // One line on stderr and one message box, both in the failure's words.
    const QString what = QStringLiteral("Cannot create the documents folder \"/home/x/Dokumente\".");
    QStringList boxes;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        boxes.append(box->windowTitle() + "|" + box->text() + "|" + QString::number(box->icon()));
        box->button(QMessageBox::Ok)->click();
    });
    StderrCapture capture;
    SystemRuntime().reportFailure(what);
    QCOMPARE(capture.text(), "glyphora: " + what + "\n");
    QCOMPARE(boxes, QStringList{"Glyphora|" + what + "|" + QString::number(QMessageBox::Critical)});
}

void tst_SystemRuntime::runHandler_data()
{
    QTest::addColumn<bool>("handlerFails");
    QTest::addColumn<bool>("recoveryFails");
    QTest::addColumn<QStringList>("journal");

    QTest::newRow("runs to its end") << false << false << QStringList{"handler"};
    QTest::newRow("fails: reported, then put back")
        << true << false << QStringList{"handler", "Failure:handler failed", "recover"};
    QTest::newRow("putting back fails too: both reported")
        << true << true
        << QStringList{"handler", "Failure:handler failed", "recover", "Failure:recovery failed"};
}

void tst_SystemRuntime::runHandler()
{
    QFETCH(bool, handlerFails);
    QFETCH(bool, recoveryFails);
    QFETCH(QStringList, journal);

    QStringList seen;
    FakeRuntime runtime;
    runtime.journal = &seen;
    ::runHandler(
        runtime,
        [&] {
            seen.append("handler");
            if (handlerFails)
                throw std::runtime_error("handler failed");
        },
        [&] {
            seen.append("recover");
            if (recoveryFails)
                throw std::runtime_error("recovery failed");
        });
    QCOMPARE(seen, journal);

    // Something other than a failure of the program's own, such as the
    // tests' end of the program, goes through.
    QVERIFY_THROWS_EXCEPTION(int, ::runHandler(runtime, [] { throw 1; }));
}

QTEST_MAIN(tst_SystemRuntime)
#include "tst_system_runtime.moc"
