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

// The longest the wait blocks between two turns of whileWaiting: short
// enough that windows repaint and Stop answers at once, long enough that
// the wait costs no processor time worth measuring.
constexpr int WaitSliceMs = 10;

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

PdfJoin::PdfJoin(const std::vector<int> &sources, int outline, int target)
    : m_joiner(std::make_unique<QProcess>())
{
    if (sources.empty())
        fail(QStringLiteral("no pages"));
    QStringList arguments = {QStringLiteral("--outline"), inherited(outline), QStringLiteral("--progress"),
                             QString::number(target)};
    for (const int source : sources)
        arguments.append(inherited(source));

    m_joiner->setProgram(joinerPath());
    m_joiner->setArguments(arguments);
    // Its standard output says how far it is.
    m_joiner->setStandardInputFile(QProcess::nullDevice());
    // The files are no one else's business and are open close-on-exec; the
    // joiner alone inherits them. A joiner whose program has gone would
    // finish a document nobody takes: it goes too.
    std::vector<int> passed = sources;
    passed.push_back(outline);
    passed.push_back(target);
    m_joiner->setChildProcessModifier([passed] {
        for (const int descriptor : passed)
            ::fcntl(descriptor, F_SETFD, 0);
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    });
    m_joiner->start();
    if (!m_joiner->waitForStarted(-1))
        fail(QStringLiteral("%1: %2").arg(joinerPath(), m_joiner->errorString()));
}

PdfJoin::~PdfJoin()
{
    stop();
}

bool PdfJoin::wait(const WhileWaiting &whileWaiting)
{
    while (!m_joiner->waitForFinished(WaitSliceMs) && m_joiner->state() != QProcess::NotRunning) {
        readProgress();
        if (whileWaiting && !whileWaiting(m_percentDone)) {
            stop();
            return false;
        }
    }
    const QString said = QString::fromLocal8Bit(m_joiner->readAllStandardError()).trimmed();
    if (m_joiner->exitStatus() != QProcess::NormalExit)
        fail(said.isEmpty() ? m_joiner->errorString() : said);
    if (m_joiner->exitCode() != 0)
        fail(said.isEmpty() ? QStringLiteral("exit status %1").arg(m_joiner->exitCode()) : said);
    return true;
}

void PdfJoin::readProgress()
{
    // A line for each percent more: the last whole one counts.
    while (m_joiner->canReadLine()) {
        bool isNumber = false;
        const int percent = m_joiner->readLine().trimmed().toInt(&isNumber);
        if (isNumber && percent > m_percentDone && percent < 100)
            m_percentDone = percent;
    }
}

void PdfJoin::stop()
{
    if (m_joiner->state() == QProcess::NotRunning)
        return;
    m_joiner->kill();
    m_joiner->waitForFinished(-1);
}
