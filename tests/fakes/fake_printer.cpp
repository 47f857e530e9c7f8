// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fake_printer.h"

#include <cmath>

int FakePrinter::fontCount()
{
    ++fontCountReads;
    return static_cast<int>(fontList.size());
}

QString FakePrinter::fontName(int index)
{
    ++fontNameReads;
    return fontList.at(index);
}

void FakePrinter::setCurrentX(double twips)
{
    m_x = twips;
    record(QStringLiteral("CurrentX=%1").arg(twips));
}

void FakePrinter::setCurrentY(double twips)
{
    m_y = twips;
    record(QStringLiteral("CurrentY=%1").arg(twips));
}

void FakePrinter::setFontName(const QString &name)
{
    ++fontNameWrites;
    if (unprintable.contains(name) || fontNameWrites == failAtFontNameWrite) {
        record(QStringLiteral("FontName!%1").arg(name));
        throw PrinterError("the printer has no font named " + name.toStdString());
    }
    m_fontName = name;
    record(QStringLiteral("FontName=%1").arg(name));
}

void FakePrinter::setFontSize(double points)
{
    if (!(points > 0) || !std::isfinite(points)) {
        record(QStringLiteral("FontSize!%1").arg(points));
        throw PrinterError("not a font size");
    }
    m_fontSize = points;
    record(QStringLiteral("FontSize=%1").arg(points));
}

void FakePrinter::setFontBold(bool on)
{
    record(QStringLiteral("FontBold=%1").arg(on ? 1 : 0));
}

void FakePrinter::setFontItalic(bool on)
{
    record(QStringLiteral("FontItalic=%1").arg(on ? 1 : 0));
}

void FakePrinter::setGlyphFallback(bool on)
{
    record(QStringLiteral("GlyphFallback=%1").arg(on ? 1 : 0));
}

void FakePrinter::printLine(const QString &text)
{
    if (++printLineCalls == failAtPrintLine) {
        record(QStringLiteral("Print!%1").arg(text));
        throw PrinterError("cannot begin a document");
    }
    documentOpen = true;
    record(QStringLiteral("Print:%1").arg(text));
    printedLines.append(text);
    m_x = 0;
    m_y += m_fontSize * twipsPerPoint;
}

void FakePrinter::beginEntry(const QString &title)
{
    record(QStringLiteral("Entry:%1").arg(title));
}

bool FakePrinter::finish(const WhileWaiting &whileWaiting)
{
    // The next document starts with the pen at the top of its first page.
    documentOpen = false;
    m_x = m_y = 0;
    for (int wait = 0; wait < waitsInFinish; ++wait) {
        if (whileWaiting && !whileWaiting(wait * 100 / waitsInFinish)) {
            record(QStringLiteral("FinishCalledOff"));
            return false;
        }
    }
    record(QStringLiteral("Finish"));
    return true;
}

void FakePrinter::abort()
{
    documentOpen = false;
    m_x = m_y = 0;
    record(QStringLiteral("Abort"));
}

void FakePrinter::record(const QString &operation)
{
    operations.append(operation);
    if (journal)
        journal->append(operation);
}
