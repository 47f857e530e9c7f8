// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "printing/printer.h"

#include <QSet>
#include <QStringList>

// A printer that records every surface operation as one line of text, for
// tests that check what a routine asks of the printer and in what order:
// "CurrentX=800", "FontName=Arial", "FontSize=8", "FontBold=0",
// "Entry:Arial", "Print:(Arial)", "Finish", "Abort", and "FinishCalledOff"
// for a document thrown away while it was being finished.
class FakePrinter : public Printer
{
public:
    // The printer's font list, reported in this order.
    QStringList fontList;
    // FontName writes that fail, as an unprintable face does.
    QSet<QString> unprintable;
    // When > 0, the FontName write with this 1-based number fails.
    int failAtFontNameWrite = 0;
    // When > 0, the printed line with this 1-based number fails before it
    // opens a document, as a documents folder that cannot be made does.
    int failAtPrintLine = 0;
    // How often finish() runs its whileWaiting before it hands the document
    // over, as a long join does.
    int waitsInFinish = 0;
    // The height of a line in twips per point of font size.
    double twipsPerPoint = 20.0;
    // Every operation in order; also appended to *journal when that is set,
    // so that tests can see printer calls among the other fakes' calls.
    QStringList operations;
    QStringList *journal = nullptr;

    int fontCountReads = 0;
    int fontNameReads = 0;
    int fontNameWrites = 0;
    int printLineCalls = 0;
    bool documentOpen = false;
    QStringList printedLines;

    int fontCount() override;
    QString fontName(int index) override;
    double currentX() const override { return m_x; }
    void setCurrentX(double twips) override;
    double currentY() const override { return m_y; }
    void setCurrentY(double twips) override;
    void setFontName(const QString &name) override;
    void setFontSize(double points) override;
    void setFontBold(bool on) override;
    void setFontItalic(bool on) override;
    void setGlyphFallback(bool on) override;
    void printLine(const QString &text) override;
    void beginEntry(const QString &title) override;
    bool finish(const WhileWaiting &whileWaiting = {}) override;
    void abort() override;

    QString fontName() const { return m_fontName; }
    double fontSize() const { return m_fontSize; }

private:
    void record(const QString &operation);

    double m_x = 0;
    double m_y = 0;
    QString m_fontName = QStringLiteral("Courier New");
    double m_fontSize = 10;
};
