// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "desktop/program_name.h"

#include <QCoreApplication>
#include <QPageLayout>
#include <QString>

class Notifier;
class SpoolFile;

// Where a document goes once it is complete: the CUPS default destination,
// or, when no printer is set up, a PDF printer that files the document in
// the user's documents folder as "Glyphora YYYY-MM-DD HH-MM-SS.pdf", never
// over an existing file, and tells the user through the notifier where it
// went.
class DocumentDelivery
{
    Q_DECLARE_TR_FUNCTIONS(DocumentDelivery)

public:
    // The title of every document, and the start of a filed one's name: the
    // program's name as written, in every language, so that the sheets of
    // all its users sort and read alike.
    static inline const QString DocumentTitle = QString::fromLatin1(ProgramName::Text);

    // The default destination as it is now. Fails when the document would
    // be filed and there is no documents folder to file it in.
    DocumentDelivery();

    // What the document's pages look like there.
    const QPageLayout &pageLayout() const { return m_pageLayout; }
    int dpi() const { return m_dpi; }
    // Where to spool the document: a file goes into the documents folder
    // itself, so that it gets its name there without being copied.
    const QString &spoolFolder() const { return m_spoolFolder; }

    // Hands the complete document, spooled in spoolFolder(), over.
    void deliver(SpoolFile &document, Notifier &notifier) const;

private:
    void submit(const QString &pdfPath) const;
    [[noreturn]] void refuse(const QString &why) const;
    static QString documentsFolder();

    // The CUPS queue as Qt names it ("queue" or "queue/instance"); empty for
    // the PDF printer.
    QString m_queue;
    QPageLayout m_pageLayout;
    int m_dpi = 0;
    QString m_spoolFolder;
};

// "queue/instance" -> "queue".
QString cupsQueueOf(const QString &qtPrinterName);
