// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "printing/printer.h"

#include <QCoreApplication>

#include <memory>

class FontCatalogue;
class Notifier;

// The default printer of the desktop: the CUPS default destination, or, when
// no printer is set up, a PDF printer that files each ended document in the
// user's documents folder as "Glyphora YYYY-MM-DD HH-MM-SS.pdf", never over
// an existing file, and tells the user through the notifier where it went.
//
// A document is drawn into unnamed files and is handed over only at
// finish(), so one that is aborted, fails, or is open when the program ends
// leaves nothing behind and never reaches the printer. It is drawn in parts
// of a few hundred fonts each, joined at finish(), so that a sheet of any
// length takes about the memory of one part.
class SystemPrinter : public Printer
{
    Q_DECLARE_TR_FUNCTIONS(SystemPrinter)

public:
    // How many fonts (a face at a size) a part of a document draws with
    // before the part ends at the next page break: some 35 MB of Qt's PDF
    // engine's memory.
    static constexpr int FontsPerPart = 250;

    // Both must outlive the printer.
    SystemPrinter(FontCatalogue &fonts, Notifier &notifier, int fontsPerPart = FontsPerPart);
    ~SystemPrinter() override;

    int fontCount() override;
    QString fontName(int index) override;
    double currentX() const override;
    void setCurrentX(double twips) override;
    double currentY() const override;
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

    // For a program that ends this very moment: drops the open document
    // without finishing its PDF, which would pack every font it used into a
    // file that nobody reads (seconds for a long sheet), and ends the join
    // of one being finished. The unnamed spool file goes with the process;
    // a named one is removed here.
    void abandonDocAtExit();

private:
    struct Private;
    std::unique_ptr<Private> d;
};
