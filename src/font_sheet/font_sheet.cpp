// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "font_sheet/font_sheet.h"

#include "desktop/runtime.h"
#include "desktop/screen.h"
#include "fonts/font_catalogue.h"
#include "printing/printer.h"

#include <QCoreApplication>

#include <exception>
#include <limits>

namespace {

// The sheet's texts, on screen and on paper, in the user's language.
QString translated(const char *text)
{
    return QCoreApplication::translate("FontSheet", text);
}

constexpr const char *NothingSelected = QT_TRANSLATE_NOOP(
    "FontSheet",
    "You must select at least one font before printing.  To select more than one font you can "
    "use the CTRL key.");
constexpr const char *NothingSelectedTitle = QT_TRANSLATE_NOOP("FontSheet", "Error");
constexpr const char *Failed = QT_TRANSLATE_NOOP("FontSheet", "An Error has occured.  Please notify the author.");
constexpr const char *Heading = QT_TRANSLATE_NOOP("FontSheet", "Glyphora Font Sheet %1");
constexpr const char *PrintingNote = QT_TRANSLATE_NOOP("FontSheet", "Printing the %1 fonts you selected.");
// With how much of the ending is done, in percent.
constexpr const char *FinishingNote = QT_TRANSLATE_NOOP("FontSheet", "Finishing the sheet… %1%");
const QString &HeadingFont = FontCatalogue::CaptionFamily;
constexpr double HeadingPoints = 12;
const QString &CaptionFont = FontCatalogue::CaptionFamily;
constexpr double CaptionPoints = 8;

// Pen steps in twips.
constexpr double HeadingDrop = 300;
constexpr double HeadingIndent = 800;
constexpr double CaptionIndent = 800;
constexpr double SampleIndent = 835;

QString heading(Runtime &runtime)
{
    // The carriage return ends the heading's line; the printer draws no glyph for it.
    return translated(Heading).arg(runtime.shortDate()) + QChar(13);
}

QString printingNote(int selected)
{
    return translated(PrintingNote).arg(selected);
}

// A size entry holds its size as decimal text ("12"). Text that is no
// number gives no number, which the printer refuses like any bad size.
double pointsOf(const QString &sizeText)
{
    bool ok = false;
    const double points = sizeText.trimmed().toDouble(&ok);
    return ok ? points : std::numeric_limits<double>::quiet_NaN();
}

// Prints entry i of the font list: its caption line, then its sample line.
void printEntry(const FontSheetSource &source, Printer &printer, int i)
{
    printer.setCurrentX(printer.currentX() + CaptionIndent);
    printer.setGlyphFallback(true);
    printer.setFontName(CaptionFont);
    printer.setFontBold(false);
    printer.setFontItalic(false);
    printer.setFontSize(CaptionPoints);
    // A reader of the sheet's file finds the font by its caption.
    printer.beginEntry(source.entryText(i));
    printer.printLine(QLatin1Char('(') + source.entryText(i) + QLatin1Char(')'));

    printer.setCurrentX(printer.currentX() + SampleIndent);
    // A sample shows what its face draws, and nothing borrowed.
    printer.setGlyphFallback(false);
    printer.setFontName(source.entryText(i));
    printer.setFontSize(pointsOf(source.printSize()));
    // The two choices are tested one after the other; exactly one is made.
    if (source.fontNameChosen())
        printer.printLine(source.entryText(i));
    if (source.userTextChosen())
        printer.printLine(source.userText());
}

} // namespace

void printFontSheet(FontSheetSource &source, FontSheetProgress &progress, Printer &printer,
                    Screen &screen, Runtime &runtime)
{
    if (source.selectedEntryCount() < 1) {
        runtime.messageBox(translated(NothingSelected), Runtime::MessageStyle::Exclamation,
                           translated(NothingSelectedTitle));
        return;
    }

    progress.openForPrinting();
    progress.repaintLines();
    // A stop request left over from an earlier run must not stop this one.
    progress.clearStopRequest();
    const BusyPointer busy(screen);
    progress.setNote(printingNote(source.selectedEntryCount()));
    progress.repaintWindow();

    // The opening empty line, in whatever font the printer holds, then the heading.
    printer.printLine(QString());
    printer.setCurrentY(printer.currentY() + HeadingDrop);
    printer.setCurrentX(printer.currentX() + HeadingIndent);
    // The program's own text reads in any language: the date under ar_EG
    // has Arabic digits.
    printer.setGlyphFallback(true);
    printer.setFontName(HeadingFont);
    printer.setFontSize(HeadingPoints);
    printer.printLine(heading(runtime));

    // Failures are caught from the first selected entry on, up to and
    // including the closing steps; earlier ones go to the caller.
    bool trapArmed = false;
    QString failure;
    try {
        const int last = source.entryCount() - 1;
        for (int i = 0; i <= last; ++i) {
            runtime.pumpEvents();
            progress.setCount(i, source.entryCount() - 1);
            if (!source.isEntrySelected(i))
                continue;
            trapArmed = true;
            if (progress.stopRequested()) {
                // Stop closed the progress window already. What was drawn
                // of this run is thrown away: nothing reaches the printer.
                printer.abort();
                return;
            }
            printEntry(source, printer, i);
        }
        // Ending a long document takes seconds: until the sheet is filed or
        // sent the progress window stays up at its final count, the windows
        // repaint, and Stop calls the ending off with nothing printed. A
        // Stop seen after the last selected font ends the run as usual.
        const bool stopAlreadyMade = progress.stopRequested();
        int shownPercent = -1;
        const auto showFinishing = [&](int percentDone) {
            if (percentDone == shownPercent)
                return;
            shownPercent = percentDone;
            progress.setNote(translated(FinishingNote).arg(percentDone));
            progress.repaintWindow();
        };
        showFinishing(0);
        const bool finished = printer.finish([&](int percentDone) {
            showFinishing(percentDone);
            runtime.pumpEvents();
            return stopAlreadyMade || !progress.stopRequested();
        });
        if (finished)
            progress.close();
        return;
    } catch (const std::exception &error) {
        if (!trapArmed)
            throw;
        failure = QString::fromUtf8(error.what());
    }
    // The message's fixed words tell the user nothing of the cause, so the
    // cause goes to the journal, and behind the box's details for the
    // author whom the message asks the user to tell.
    runtime.logFailure(failure);
    // The partly drawn document is thrown away before the user hears of the
    // failure; a second failure while doing so is told of too, and changes
    // nothing else.
    try {
        printer.abort();
    } catch (const std::exception &error) {
        runtime.logFailure(QString::fromUtf8(error.what()));
    }
    runtime.messageBox(translated(Failed), Runtime::MessageStyle::Plain, {}, failure);
    progress.close();
}
