// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "desktop/desktop_notifier.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QUrl>
#include <QVariantMap>

namespace {

const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");
const QString Interface = QStringLiteral("org.freedesktop.Notifications");

// The action a click on the notification itself invokes, and the button.
const QString DefaultAction = QStringLiteral("default");
const QString OpenAction = QStringLiteral("open");

// Let the server decide how long the notification stays up.
constexpr int ServerTimeout = -1;

} // namespace

DesktopNotifier::DesktopNotifier(QObject *parent) : QObject(parent) {}

bool DesktopNotifier::listen()
{
    if (m_listening)
        return true;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    // QtDBus offers its signals only through the old string-based connect.
    bus.connect(Service, Path, Interface, QStringLiteral("ActionInvoked"), this,
                SLOT(onActionInvoked(uint,QString)));
    bus.connect(Service, Path, Interface, QStringLiteral("NotificationClosed"), this,
                SLOT(onNotificationClosed(uint,uint)));
    m_listening = true;
    return true;
}

void DesktopNotifier::sheetFiled(const QString &path)
{
    // The bus is first reached here and not at start-up: most runs file no
    // sheet, and a run that does is past its reading of the fonts.
    if (!listen())
        return;

    const QString open = tr("Open");
    QVariantMap hints;
    // Lets the server show the program's name and icon from its menu entry.
    hints.insert(QStringLiteral("desktop-entry"), QGuiApplication::desktopFileName());
    QDBusMessage notify = QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("Notify"));
    notify << QCoreApplication::applicationName() << uint(0) << QGuiApplication::desktopFileName()
           << tr("Font sheet saved") << QFileInfo(path).fileName()
           << QStringList{DefaultAction, open, OpenAction, open} << hints << ServerTimeout;

    auto *call = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(notify), this);
    call->setProperty("path", path);
    connect(call, &QDBusPendingCallWatcher::finished, this, &DesktopNotifier::onNotifyFinished);
}

void DesktopNotifier::onNotifyFinished(QDBusPendingCallWatcher *call)
{
    call->deleteLater();
    const QDBusPendingReply<uint> reply = *call;
    // No server, or one that refused: the sheet is saved all the same, and
    // the notification was a courtesy.
    if (reply.isError())
        return;
    m_files.insert(reply.value(), call->property("path").toString());
}

void DesktopNotifier::onActionInvoked(uint id, const QString &actionKey)
{
    const auto file = m_files.constFind(id);
    if (file == m_files.constEnd() || (actionKey != DefaultAction && actionKey != OpenAction))
        return;
    QDesktopServices::openUrl(QUrl::fromLocalFile(*file));
}

void DesktopNotifier::onNotificationClosed(uint id, uint reason)
{
    Q_UNUSED(reason);
    m_files.remove(id);
}
