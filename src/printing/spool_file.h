// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QCoreApplication>
#include <QString>

// A file that a document is written into before it is complete. It has no
// name until publish(), so an abandoned document, a crash or a kill -9 leaves
// nothing behind: where the file system offers it the file is anonymous
// (O_TMPFILE) and vanishes with its descriptor; elsewhere it is a hidden file
// that the destructor removes.
//
// Every failure throws PrinterError naming the folder or the file.
class SpoolFile
{
    Q_DECLARE_TR_FUNCTIONS(SpoolFile)

public:
    // Creates the file in folder, which must exist.
    explicit SpoolFile(const QString &folder);
    ~SpoolFile();

    SpoolFile(const SpoolFile &) = delete;
    SpoolFile &operator=(const SpoolFile &) = delete;

    int descriptor() const { return m_fd; }

    // A path that opens this very file, for programs that want a name.
    QString path() const;

    // Forces the written data to the disk, so that a full disk or a quota is
    // seen here and not after the file has been given its name.
    void sync();

    // Gives the file the name baseName + suffix in folder, which must be on
    // the same file system as the file. An existing file is never replaced:
    // the name gets " (2)", " (3)" ... instead. Returns the path it got.
    QString publish(const QString &baseName, const QString &suffix);

    // Removes the name of a named hidden file; the descriptor stays open.
    void removeName();

private:
    QString m_folder;
    // Set only while the file is a named hidden file.
    QString m_hiddenPath;
    int m_fd = -1;
};
