// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// For test programs that a script runs against the private CUPS server of
// private_cupsd.sh: the script exports CUPS_SERVER and PRIVATE_CUPSD_*.

#include <QProcess>
#include <QString>
#include <QtDebug>

// Runs a command line with the private server's shell library loaded
// (add_pdf_queue, wait_for_jobs, lpadmin against the same server ...) and
// returns its standard output. A failure is logged, not fatal: the test's
// own checks say what it broke.
inline QString privateCupsd(const QString &command)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const QString library = QStringLiteral(TESTS_DIR "/e2e/private_cupsd.sh");
    process.start(QStringLiteral("bash"),
                  {QStringLiteral("-c"), QStringLiteral(". '%1' && %2").arg(library, command)});
    if (!process.waitForFinished(120000) || process.exitCode() != 0)
        qWarning() << "failed:" << command;
    return QString::fromUtf8(process.readAllStandardOutput());
}
