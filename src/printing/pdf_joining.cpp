// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "printing/pdf_joining.h"

#include "printing/printer.h"

#include <QCoreApplication>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

const QString Joiner = QStringLiteral("qpdf");
// qpdf's exit status for a document written with warnings about its input.
constexpr int WrittenWithWarnings = 3;

[[noreturn]] void fail(const QString &why)
{
    throw PrinterError(QCoreApplication::translate("PdfJoining", "Cannot put the document together: %1")
                           .arg(why)
                           .toStdString());
}

// Writes all of data to descriptor; an empty text, or why not.
QString writeAll(int descriptor, const QByteArray &data)
{
    for (qsizetype done = 0; done < data.size();) {
        const ssize_t written = ::write(descriptor, data.constData() + done, size_t(data.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return QString::fromLocal8Bit(std::strerror(errno));
        done += written;
    }
    return QString();
}

// The name under which the joiner finds a file open here.
QString inherited(int descriptor)
{
    return QStringLiteral("/dev/fd/%1").arg(descriptor);
}

} // namespace

void joinPdfFiles(const std::vector<int> &sources, int target)
{
    if (sources.empty())
        fail(QStringLiteral("no pages"));
    // Streams go through as they are, neither unpacked nor packed again:
    // a third less of the joiner's time. The first file is the base, so
    // that its document information stays; then the pages of all of them,
    // "." being the base.
    QStringList arguments = {QStringLiteral("--decode-level=none"), QStringLiteral("--compress-streams=n"),
                             inherited(sources.front()), QStringLiteral("--pages"), QStringLiteral(".")};
    for (auto source = sources.begin() + 1; source != sources.end(); ++source)
        arguments.append(inherited(*source));
    // The joined document comes through a pipe and is written here: qpdf
    // takes a failed write of its own output file for a success.
    arguments << QStringLiteral("--") << QStringLiteral("-");

    QProcess joiner;
    joiner.setProgram(Joiner);
    joiner.setArguments(arguments);
    joiner.setStandardInputFile(QProcess::nullDevice());
    // The files are no one else's business and are open close-on-exec;
    // the joiner alone inherits them.
    const std::vector<int> passed = sources;
    joiner.setChildProcessModifier([passed] {
        for (const int descriptor : passed)
            ::fcntl(descriptor, F_SETFD, 0);
    });
    joiner.start();
    if (!joiner.waitForStarted(-1))
        fail(QStringLiteral("%1: %2").arg(Joiner, joiner.errorString()));
    // The pipe holds what the joiner has written and not yet been read; it
    // waits for room meanwhile.
    QString writeFailure;
    for (bool running = true; running;) {
        running = joiner.waitForReadyRead(-1);
        const QByteArray chunk = joiner.readAllStandardOutput();
        if (writeFailure.isEmpty())
            writeFailure = writeAll(target, chunk);
        if (!writeFailure.isEmpty() && running) {
            joiner.kill();
            running = false;
        }
    }
    joiner.waitForFinished(-1);
    if (!writeFailure.isEmpty())
        fail(writeFailure);
    const QString said = QString::fromLocal8Bit(joiner.readAllStandardError()).trimmed();
    if (joiner.exitStatus() != QProcess::NormalExit)
        fail(QStringLiteral("%1: %2").arg(Joiner, said.isEmpty() ? joiner.errorString() : said));
    if (joiner.exitCode() != 0 && joiner.exitCode() != WrittenWithWarnings)
        fail(said.isEmpty() ? QStringLiteral("%1: exit status %2").arg(Joiner).arg(joiner.exitCode()) : said);
}
