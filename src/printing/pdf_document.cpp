// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "printing/pdf_document.h"

#include "printing/pdf_joining.h"
#include "printing/printer.h"

#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QScopeGuard>

// One part: its spool file, and while it is drawn, Qt's PDF engine on it.
struct PdfDocument::Part
{
    explicit Part(const QString &folder) : spool(std::make_unique<SpoolFile>(folder)) {}

    struct Drawing
    {
        QFile file;
        QPdfWriter writer{&file};
        QPainter painter;
    };

    std::unique_ptr<SpoolFile> spool;
    int pages = 1;
    // The outline's entries before the part's, for a part drawn again.
    int entriesBefore = 0;
    // Gone once the part has ended, and with it every face it drew with.
    std::unique_ptr<Drawing> drawing = std::make_unique<Drawing>();
};

PdfDocument::PdfDocument(const QPageLayout &layout, int dpi, const QString &title, const QString &folder)
    : m_layout(layout), m_dpi(dpi), m_title(title), m_folder(folder)
{
    startPart();
}

PdfDocument::~PdfDocument() = default;

QPainter &PdfDocument::painter()
{
    return m_parts.back()->drawing->painter;
}

QPdfWriter &PdfDocument::device()
{
    return m_parts.back()->drawing->writer;
}

void PdfDocument::startPart()
{
    auto part = std::make_unique<Part>(m_folder);
    part->entriesBefore = m_outline.size();
    m_pagesBefore = 0;
    for (const std::unique_ptr<Part> &before : m_parts)
        m_pagesBefore += before->pages;
    Part::Drawing &drawing = *part->drawing;
    if (!drawing.file.open(part->spool->descriptor(), QIODevice::WriteOnly, QFileDevice::DontCloseHandle))
        throw PrinterError(tr("Cannot write a document in the folder \"%1\": %2")
                 .arg(m_folder, drawing.file.errorString()));
    drawing.writer.setCreator(m_title);
    drawing.writer.setTitle(m_title);
    drawing.writer.setResolution(m_dpi);
    drawing.writer.setPageLayout(m_layout);
    if (!drawing.painter.begin(&drawing.writer))
        throw PrinterError(tr("Cannot start a document for the printer."));
    m_parts.push_back(std::move(part));
}

void PdfDocument::endPart()
{
    Part &part = *m_parts.back();
    if (!part.drawing)
        return;
    part.drawing->painter.end();
    part.drawing->file.flush();
    const QString failure = writeFailure();
    if (!failure.isEmpty())
        throw PrinterError(failure);
    part.drawing.reset();
}

void PdfDocument::newPage()
{
    device().newPage();
    ++m_parts.back()->pages;
}

void PdfDocument::markEntry(const QString &title, double yDots)
{
    constexpr double PointsPerInch = 72;
    const double top = m_layout.paintRect(QPageLayout::Point).top() + yDots * PointsPerInch / m_dpi;
    m_outline.add(title, m_pagesBefore + m_parts.back()->pages, top);
}

void PdfDocument::redoPart()
{
    // Its lines mark their entries again as they are drawn again.
    m_outline.truncate(m_parts.back()->entriesBefore);
    m_parts.pop_back();
    startPart();
}

QString PdfDocument::writeFailure() const
{
    const Part::Drawing *drawing = m_parts.back()->drawing.get();
    if (!drawing || drawing->file.error() == QFileDevice::NoError)
        return QString();
    return tr("Cannot write the document into the folder \"%1\": %2")
        .arg(m_folder, drawing->file.errorString());
}

std::unique_ptr<SpoolFile> PdfDocument::join(const Printer::WhileWaiting &whileWaiting)
{
    endPart();
    const SpoolFile outline(m_folder);
    QFile file;
    if (!file.open(outline.descriptor(), QIODevice::WriteOnly, QFileDevice::DontCloseHandle)
        || file.write(m_outline.description()) < 0 || !file.flush())
        throw PrinterError(tr("Cannot write the document into the folder \"%1\": %2")
                               .arg(m_folder, file.errorString()));
    auto joined = std::make_unique<SpoolFile>(m_folder);
    std::vector<int> parts;
    for (const std::unique_ptr<Part> &part : m_parts)
        parts.push_back(part->spool->descriptor());
    PdfJoin join(parts, outline.descriptor(), joined->descriptor());
    // A program that ends while it waits ends the join through removeNames().
    m_join = &join;
    m_joined = joined.get();
    const auto joinDone = qScopeGuard([this] {
        m_join = nullptr;
        m_joined = nullptr;
    });
    if (!join.wait(whileWaiting))
        return nullptr;
    // The parts are done with before the document is handed on.
    m_parts.clear();
    return joined;
}

void PdfDocument::removeNames()
{
    if (m_join)
        m_join->stop();
    if (m_joined)
        m_joined->removeName();
    for (const std::unique_ptr<Part> &part : m_parts) {
        if (part->spool)
            part->spool->removeName();
    }
}
