// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// A home of the test's own, made the process's home as it is made. It must
// be made before the application: fontconfig reads the user's own
// configuration and fonts from the home when Qt first asks it for fonts,
// and never again. The PDF printer files its sheets in its documents
// folder.
class PrivateHome
{
public:
    PrivateHome()
    {
        if (!m_dir.isValid())
            return;
        qputenv("HOME", QFile::encodeName(m_dir.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral(".config"))));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral(".local/share"))));
    }

    // Empty when the folder could not be made.
    QString path() const { return m_dir.isValid() ? m_dir.path() : QString(); }

private:
    QTemporaryDir m_dir;
};

// The main() of a test that reads the fonts and prints: no print server,
// so that the PDF printer files the sheets even on a machine with a default
// queue (set before libcups and Qt's printer support first look for one),
// and a private home. Test is made with the home's path.
template <typename Test>
int runWithPrivateHome(int argc, char *argv[])
{
    qputenv("CUPS_SERVER", "/nonexistent/glyphora-test/cups.sock");
    const PrivateHome home;
    if (home.path().isEmpty())
        return 1;
    QApplication app(argc, argv);
    Test test(home.path());
    return QTest::qExec(&test, argc, argv);
}
