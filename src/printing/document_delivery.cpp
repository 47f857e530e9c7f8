// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "printing/document_delivery.h"

#include "desktop/notifier.h"
#include "printing/printer.h"
#include "printing/spool_file.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>

#include <cups/cups.h>

#include <memory>

namespace {

// The PDF printer: the locale's paper with a margin that any desktop printer
// can reach, should the file be printed later, at a resolution fine enough
// that twips round to whole dots.
constexpr int PdfPrinterDpi = 1200;
constexpr double PdfPrinterMarginInches = 0.25;

// How long to wait for the print server to answer a connection.
constexpr int ConnectTimeoutMs = 30000;

const QString PdfFileSuffix = QStringLiteral(".pdf");

QPageLayout pdfPrinterLayout()
{
    const QPageSize::PageSizeId paper = QLocale::system().measurementSystem() == QLocale::ImperialUSSystem
        ? QPageSize::Letter
        : QPageSize::A4;
    const QMarginsF margins(PdfPrinterMarginInches, PdfPrinterMarginInches, PdfPrinterMarginInches,
                            PdfPrinterMarginInches);
    return QPageLayout(QPageSize(paper), QPageLayout::Portrait, margins, QPageLayout::Inch);
}

struct HttpCloser
{
    void operator()(http_t *http) const { httpClose(http); }
};

} // namespace

QString cupsQueueOf(const QString &qtPrinterName)
{
    return qtPrinterName.section(QLatin1Char('/'), 0, 0);
}

// The CUPS default destination as Qt sees it (Qt honours CUPS_SERVER and the
// user's lpoptions), or the PDF printer when there is none.
DocumentDelivery::DocumentDelivery()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        m_pageLayout = pdfPrinterLayout();
        m_dpi = PdfPrinterDpi;
    } else {
        const QPrinter printer(info, QPrinter::HighResolution);
        m_queue = info.printerName();
        m_pageLayout = printer.pageLayout();
        m_dpi = printer.resolution();
    }
    m_spoolFolder = m_queue.isEmpty() ? documentsFolder() : QDir::tempPath();
}

void DocumentDelivery::deliver(SpoolFile &document, Notifier &notifier) const
{
    document.sync();
    if (!m_queue.isEmpty()) {
        submit(document.path());
        return;
    }
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"));
    const QString path = document.publish(DocumentTitle + QLatin1Char(' ') + stamp, PdfFileSuffix);
    // A sheet that went into a file rather than to paper would otherwise go
    // unnoticed.
    notifier.sheetFiled(path);
}

// Qt's own CUPS engine does not look at whether the server took the job, so
// the document is submitted here, on a connection of its own: libcups
// reports a server it cannot reach and a queue that is gone alike ("No such
// file or directory") on its default one.
void DocumentDelivery::submit(const QString &pdfPath) const
{
    const std::unique_ptr<http_t, HttpCloser> http(
        httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, ConnectTimeoutMs, nullptr));
    if (!http)
        refuse(QStringLiteral("the print server %1 does not answer.").arg(QString::fromUtf8(cupsServer())));

    const QByteArray queue = cupsQueueOf(m_queue).toUtf8();
    const QByteArray instance = m_queue.section(QLatin1Char('/'), 1).toUtf8();
    // The destination comes with the user's lpoptions, which lp applies too.
    cups_dest_t *dest =
        cupsGetNamedDest(http.get(), queue.constData(), instance.isEmpty() ? nullptr : instance.constData());
    if (!dest)
        refuse(QString::fromUtf8(cupsLastErrorString()));
    const int job = cupsPrintFile2(http.get(), dest->name, QFile::encodeName(pdfPath).constData(),
                                   DocumentTitle.toUtf8().constData(), dest->num_options, dest->options);
    cupsFreeDests(1, dest);
    if (job == 0)
        refuse(QString::fromUtf8(cupsLastErrorString()));
}

void DocumentDelivery::refuse(const QString &why) const
{
    throw PrinterError(tr("Cannot print on \"%1\": %2").arg(m_queue, why));
}

QString DocumentDelivery::documentsFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        throw PrinterError(tr("There is no documents folder to save the document in."));
    if (!QDir().mkpath(folder))
        throw PrinterError(tr("Cannot create the documents folder \"%1\".").arg(folder));
    return folder;
}
