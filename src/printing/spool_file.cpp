// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "printing/spool_file.h"

#include "printing/printer.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Enough for any number of documents printed within one second.
constexpr int MaxNameAttempts = 1000;

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

[[noreturn]] void fail(const QString &what, int error)
{
    throw PrinterError(QStringLiteral("%1: %2").arg(what, systemError(error)).toStdString());
}

bool tmpfileUnsupported(int error)
{
    // What open() says when the kernel or the file system has no O_TMPFILE.
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

} // namespace

SpoolFile::SpoolFile(const QString &folder)
    : m_folder(folder)
{
    const QByteArray folderName = QFile::encodeName(folder);
    // Nobody can open an unnamed file, so it may have the mode that the
    // user's umask gives a new document.
    m_fd = ::open(folderName.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    if (m_fd >= 0)
        return;
    if (!tmpfileUnsupported(errno))
        fail(tr("Cannot write a document in the folder \"%1\"").arg(folder), errno);

    // A named file stays private (0600) while others could find it.
    QByteArray pattern = folderName + "/.glyphora-spool-XXXXXX";
    m_fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (m_fd < 0)
        fail(tr("Cannot write a document in the folder \"%1\"").arg(folder), errno);
    m_hiddenPath = QFile::decodeName(pattern);
}

SpoolFile::~SpoolFile()
{
    removeName();
    if (m_fd >= 0)
        ::close(m_fd);
}

void SpoolFile::removeName()
{
    if (m_hiddenPath.isEmpty())
        return;
    ::unlink(QFile::encodeName(m_hiddenPath).constData());
    m_hiddenPath.clear();
}

QString SpoolFile::path() const
{
    return m_hiddenPath.isEmpty() ? QStringLiteral("/proc/self/fd/%1").arg(m_fd) : m_hiddenPath;
}

void SpoolFile::sync()
{
    if (::fsync(m_fd) != 0)
        fail(tr("Cannot write the document into the folder \"%1\"").arg(m_folder), errno);
}

QString SpoolFile::publish(const QString &baseName, const QString &suffix)
{
    const QByteArray source = QFile::encodeName(path());
    const int flags = m_hiddenPath.isEmpty() ? AT_SYMLINK_FOLLOW : 0;
    for (int attempt = 1; attempt <= MaxNameAttempts; ++attempt) {
        const QString name = attempt == 1
            ? baseName + suffix
            : QStringLiteral("%1 (%2)%3").arg(baseName).arg(attempt).arg(suffix);
        const QString target = QDir(m_folder).filePath(name);
        // link() and not rename(): it refuses to replace an existing file.
        if (::linkat(AT_FDCWD, source.constData(), AT_FDCWD, QFile::encodeName(target).constData(),
                     flags)
            == 0) {
            if (!m_hiddenPath.isEmpty()) {
                ::unlink(source.constData());
                m_hiddenPath.clear();
            }
            return target;
        }
        if (errno != EEXIST)
            fail(tr("Cannot save the document as \"%1\"").arg(target), errno);
    }
    fail(tr("Cannot find a free name for the document in the folder \"%1\"").arg(m_folder),
         EEXIST);
}
