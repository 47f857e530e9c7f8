// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "printing/pdf_joining.h"

#include "printing/printer.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <csignal>
#include <fcntl.h>
#include <sys/prctl.h>

namespace {

[[noreturn]] void fail(const QString &why)
{
    throw PrinterError(QCoreApplication::translate("PdfJoining", "Cannot put the document together: %1")
                           .arg(why)
                           .toStdString());
}

// The joining program sits at the same place relative to this program in
// the build tree as where it is installed.
QString joinerPath()
{
    return QDir::cleanPath(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral(GLYPHORA_JOINER)));
}

// The name under which the joiner finds a file open here.
QString inherited(int descriptor)
{
    return QStringLiteral("/dev/fd/%1").arg(descriptor);
}

} // namespace

void joinPdfFiles(const std::vector<int> &sources, int outline, int target)
{
    if (sources.empty())
        fail(QStringLiteral("no pages"));
    QStringList arguments = {QStringLiteral("--outline"), inherited(outline), QString::number(target)};
    for (const int source : sources)
        arguments.append(inherited(source));

    QProcess joiner;
    joiner.setProgram(joinerPath());
    joiner.setArguments(arguments);
    joiner.setStandardInputFile(QProcess::nullDevice());
    joiner.setStandardOutputFile(QProcess::nullDevice());
    // The files are no one else's business and are open close-on-exec; the
    // joiner alone inherits them. A joiner whose program has gone would
    // finish a document nobody takes: it goes too.
    std::vector<int> passed = sources;
    passed.push_back(outline);
    passed.push_back(target);
    joiner.setChildProcessModifier([passed] {
        for (const int descriptor : passed)
            ::fcntl(descriptor, F_SETFD, 0);
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    });
    joiner.start();
    if (!joiner.waitForStarted(-1))
        fail(QStringLiteral("%1: %2").arg(joinerPath(), joiner.errorString()));
    joiner.waitForFinished(-1);
    const QString said = QString::fromLocal8Bit(joiner.readAllStandardError()).trimmed();
    if (joiner.exitStatus() != QProcess::NormalExit)
        fail(said.isEmpty() ? joiner.errorString() : said);
    if (joiner.exitCode() != 0)
        fail(said.isEmpty() ? QStringLiteral("exit status %1").arg(joiner.exitCode()) : said);
}
