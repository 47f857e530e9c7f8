// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Desktop notifications of filed sheets, on a private session bus with a
// fake notification server that records each call. The server lives in this
// process, on a connection of its own, so every call crosses the bus; and
// since it answers only when the test's event loop runs, a caller that
// waited for an answer would hang here.

#include "desktop/desktop_notifier.h"
#include "fonts/font_catalogue.h"
#include "fonts/process_font_state.h"
#include "printing/system_printer.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

namespace {

const QString NotificationService = QStringLiteral("org.freedesktop.Notifications");
const QString NotificationPath = QStringLiteral("/org/freedesktop/Notifications");
const QString ServerConnection = QStringLiteral("fake-notification-server");

// A bus with no services of its own to start: a real notification daemon
// that happens to be installed must not answer in the fake's place.
constexpr char BusConfig[] =
    "<busconfig>\n"
    "  <type>session</type>\n"
    "  <listen>unix:dir=%1</listen>\n"
    "  <auth>EXTERNAL</auth>\n"
    "  <policy context=\"default\">\n"
    "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
    "    <allow eavesdrop=\"true\"/>\n"
    "    <allow own=\"*\"/>\n"
    "  </policy>\n"
    "</busconfig>\n";

} // namespace

// The notification server: records every Notify call and answers with a
// fresh id.
class FakeNotificationServer : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Call
    {
        QString appName;
        QString appIcon;
        QString summary;
        QString body;
        QStringList actions;
        QVariantMap hints;
        int timeout = 0;
    };
    QList<Call> calls;

public slots:
    uint Notify(const QString &appName, uint replacesId, const QString &appIcon, const QString &summary,
                const QString &body, const QStringList &actions, const QVariantMap &hints, int timeout)
    {
        Q_UNUSED(replacesId);
        calls.append({appName, appIcon, summary, body, actions, hints, timeout});
        return static_cast<uint>(calls.size()) + FirstId;
    }
    QStringList GetCapabilities() { return {QStringLiteral("actions"), QStringLiteral("body")}; }
    void CloseNotification(uint id) { emit NotificationClosed(id, ClosedByCall); }

signals:
    void ActionInvoked(uint id, const QString &actionKey);
    void NotificationClosed(uint id, uint reason);

public:
    // Ids start somewhere other than 0 or 1, so that a caller that ignores
    // the answer is caught.
    static constexpr uint FirstId = 40;
    static constexpr uint ClosedByCall = 3;
};

// Takes the place of the desktop's file opener.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl &url) { opened.append(url); }
};

class tst_DesktopNotifier : public QObject
{
    Q_OBJECT

    // The installed fonts, read as the program reads them at start.
    ProcessFontState m_fontState;
    FontCatalogue m_fonts{m_fontState};

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void filedSheetIsAnnounced();
    void actionOpensTheFile_data();
    void actionOpensTheFile();
    void noServer();
    void noBus();

private:
    bool onPrivateBus() const { return m_bus.state() == QProcess::Running; }
    bool startServer();
    QString printSheet(SystemPrinter &printer);

    QTemporaryDir m_home;
    QProcess m_bus;
    std::unique_ptr<FakeNotificationServer> m_server;
    UrlRecorder m_opener;
};

void tst_DesktopNotifier::initTestCase()
{
    QVERIFY(m_home.isValid());
    qputenv("HOME", QFile::encodeName(m_home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(QStringLiteral(".config"))));
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &m_opener, "open");
    // The no-bus case runs as a process of its own, with an address that
    // leads nowhere.
    if (qEnvironmentVariableIsSet("GLYPHORA_TEST_NO_BUS"))
        return;

    const QString config = m_home.filePath(QStringLiteral("bus.conf"));
    QFile file(config);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QString::fromLatin1(BusConfig).arg(m_home.path()).toUtf8());
    file.close();
    m_bus.start(QStringLiteral("dbus-daemon"),
                {QStringLiteral("--nofork"), QStringLiteral("--print-address=1"),
                 QStringLiteral("--config-file=") + config});
    if (!m_bus.waitForStarted())
        QSKIP("dbus-daemon cannot be started");
    QVERIFY(m_bus.waitForReadyRead(10000));
    const QByteArray address = m_bus.readLine().trimmed();
    QVERIFY(!address.isEmpty());
    qputenv("DBUS_SESSION_BUS_ADDRESS", address);
    QVERIFY(QDBusConnection::sessionBus().isConnected());
}

void tst_DesktopNotifier::cleanupTestCase()
{
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    if (onPrivateBus()) {
        m_bus.terminate();
        m_bus.waitForFinished();
    }
}

void tst_DesktopNotifier::init()
{
    QDir(m_home.filePath(QStringLiteral("Documents"))).removeRecursively();
    m_opener.opened.clear();
}

void tst_DesktopNotifier::cleanup()
{
    if (m_server) {
        QDBusConnection connection(ServerConnection);
        connection.unregisterService(NotificationService);
        connection.unregisterObject(NotificationPath);
        m_server.reset();
    }
    QDBusConnection::disconnectFromBus(ServerConnection);
    // Every window a test made is gone again.
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

bool tst_DesktopNotifier::startServer()
{
    m_server = std::make_unique<FakeNotificationServer>();
    QDBusConnection connection =
        QDBusConnection::connectToBus(QString::fromUtf8(qgetenv("DBUS_SESSION_BUS_ADDRESS")), ServerConnection);
    return connection.isConnected()
        && connection.registerObject(NotificationPath, m_server.get(),
                                     QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals)
        && connection.registerService(NotificationService);
}

// One line through the real printer, which with no print server files it
// in the documents folder. Returns the file's path.
QString tst_DesktopNotifier::printSheet(SystemPrinter &printer)
{
    printer.setFontName(QStringLiteral("Arial"));
    printer.printLine(QStringLiteral("Sheet"));
    printer.finish();
    const QDir documents(m_home.filePath(QStringLiteral("Documents")));
    const QStringList files = documents.entryList({QStringLiteral("*.pdf")}, QDir::Files);
    return files.size() == 1 ? documents.filePath(files.constFirst()) : QString();
}

void tst_DesktopNotifier::filedSheetIsAnnounced()
{
    if (!onPrivateBus())
        QSKIP("runs on the private bus");
    QVERIFY(startServer());
    DesktopNotifier notifier;
    SystemPrinter printer(m_fonts, notifier);
    const QString path = printSheet(printer);
    QVERIFY(!path.isEmpty());
    // The print routine went on without waiting for the server.
    QCOMPARE(m_server->calls.size(), 0);

    QTRY_COMPARE(m_server->calls.size(), 1);
    const FakeNotificationServer::Call &call = m_server->calls.constFirst();
    QCOMPARE(call.summary, QStringLiteral("Font sheet saved"));
    QCOMPARE(call.body, QFileInfo(path).fileName());
    QCOMPARE(call.appName, QStringLiteral("tst_desktop_notifier"));
    // Action keys and their labels alternate; the default one is a click on
    // the notification itself.
    QCOMPARE(call.actions.size() % 2, 0);
    QVERIFY(call.actions.contains(QStringLiteral("default")));
    QVERIFY(call.actions.contains(QStringLiteral("Open")));
    QCOMPARE(call.timeout, -1);
    QVERIFY(m_opener.opened.isEmpty());
}

void tst_DesktopNotifier::actionOpensTheFile_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("opens");

    QTest::newRow("click on the notification") << "default" << true;
    QTest::newRow("Open button") << "open" << true;
    QTest::newRow("an action it never offered") << "delete" << false;
}

void tst_DesktopNotifier::actionOpensTheFile()
{
    QFETCH(QString, action);
    QFETCH(bool, opens);
    if (!onPrivateBus())
        QSKIP("runs on the private bus");
    QVERIFY(startServer());
    DesktopNotifier notifier;
    SystemPrinter printer(m_fonts, notifier);
    const QString first = printSheet(printer);
    QVERIFY(!first.isEmpty());
    QTRY_COMPARE(m_server->calls.size(), 1);
    QVERIFY(QFile::remove(first));
    const QString second = printSheet(printer);
    QVERIFY(!second.isEmpty());
    QTRY_COMPARE(m_server->calls.size(), 2);
    // Let the notifier take the second answer before the click.
    QTest::qWait(50);

    const uint secondId = FakeNotificationServer::FirstId + 2;
    emit m_server->ActionInvoked(secondId, action);
    if (opens) {
        QTRY_COMPARE(m_opener.opened, QList<QUrl>{QUrl::fromLocalFile(second)});
    } else {
        QTest::qWait(200);
        QCOMPARE(m_opener.opened, QList<QUrl>{});
    }

    // A notification the server has closed opens nothing any more.
    m_opener.opened.clear();
    emit m_server->NotificationClosed(secondId, 2);
    emit m_server->ActionInvoked(secondId, QStringLiteral("default"));
    // Another program's notification is none of ours.
    emit m_server->ActionInvoked(secondId + 100, QStringLiteral("default"));
    QTest::qWait(200);
    QCOMPARE(m_opener.opened, QList<QUrl>{});
}

void tst_DesktopNotifier::noServer()
{
    if (!onPrivateBus())
        QSKIP("runs on the private bus");
    QCOMPARE(QDBusConnection::sessionBus().interface()->isServiceRegistered(NotificationService).value(),
             false);
    DesktopNotifier notifier;
    SystemPrinter printer(m_fonts, notifier);
    // Two sheets: the refused call of the first leaves nothing in the way.
    const QString first = printSheet(printer);
    QVERIFY(!first.isEmpty());
    QTest::qWait(200);
    QVERIFY(QFile::remove(first));
    QVERIFY(!printSheet(printer).isEmpty());
    QTest::qWait(200);
}

void tst_DesktopNotifier::noBus()
{
    if (!qEnvironmentVariableIsSet("GLYPHORA_TEST_NO_BUS"))
        QSKIP("runs as a process of its own, with no session bus");
    QVERIFY(!QDBusConnection::sessionBus().isConnected());
    DesktopNotifier notifier;
    SystemPrinter printer(m_fonts, notifier);
    QVERIFY(!printSheet(printer).isEmpty());
    QTest::qWait(100);
}

QTEST_MAIN(tst_DesktopNotifier)
#include "tst_desktop_notifier.moc"
