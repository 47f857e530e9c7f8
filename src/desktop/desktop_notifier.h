// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "desktop/notifier.h"

#include <QHash>
#include <QObject>

class QDBusPendingCallWatcher;

// Desktop notifications through the notification server on the session bus
// (org.freedesktop.Notifications). A filed sheet's notification carries an
// action that opens the file in the desktop's viewer.
//
// Every call is asynchronous: without a session bus, without a server, or
// with a server that does not answer, the caller goes on at once, and
// nothing is reported.
class DesktopNotifier : public QObject, public Notifier
{
    Q_OBJECT

public:
    explicit DesktopNotifier(QObject *parent = nullptr);

    void sheetFiled(const QString &path) override;

private slots:
    void onNotifyFinished(QDBusPendingCallWatcher *call);
    // Slots of the server's D-Bus signals.
    void onActionInvoked(uint id, const QString &actionKey);
    void onNotificationClosed(uint id, uint reason);

private:
    bool listen();

    bool m_listening = false;
    // The file of each notification that is still up, by the server's id.
    QHash<uint, QString> m_files;
};
