// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "font_sheet/font_sheet.h"

#include "host/printer.h"
#include "host/runtime.h"
#include "host/screen.h"

#include <QCoreApplication>

#include <exception>

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
const QString HeadingFont = QStringLiteral("Arial");
constexpr double HeadingPoints = 12;
const QString CaptionFont = QStringLiteral("Arial");
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

// Prints entry i of the font list: its caption line, then its sample line.
void printEntry(const FontSheetSource &source, Printer &printer, int i)
{
    printer.setCurrentX(printer.currentX() + CaptionIndent);
    printer.setFontName(CaptionFont);
    printer.setFontBold(false);
    printer.setFontItalic(false);
    printer.setFontSize(CaptionPoints);
    printer.printLine(QLatin1Char('(') + source.entryText(i) + QLatin1Char(')'));

    printer.setCurrentX(printer.currentX() + SampleIndent);
    printer.setFontName(source.entryText(i));
    printer.setFontSize(source.printSize());
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
        runtime.messageBox(translated(NothingSelected), Runtime::ExclamationMessage, translated(NothingSelectedTitle));
        return;
    }

    progress.openForPrinting();
    progress.repaintLines();
    // A stop request left over from an earlier run must not stop this one.
    progress.clearStopRequest();
    screen.setMousePointer(Screen::BusyPointer);
    progress.setNote(printingNote(source.selectedEntryCount()));
    progress.repaintWindow();

    // The opening empty line, in whatever font the printer holds, then the heading.
    printer.printLine(QString());
    printer.setCurrentY(printer.currentY() + HeadingDrop);
    printer.setCurrentX(printer.currentX() + HeadingIndent);
    printer.setFontName(HeadingFont);
    printer.setFontSize(HeadingPoints);
    printer.printLine(heading(runtime));

    // Failures are caught from the first selected entry on, up to and
    // including the closing steps; earlier ones go to the caller.
    bool trapArmed = false;
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
                printer.killDoc();
                screen.setMousePointer(Screen::DefaultPointer);
                return;
            }
            printEntry(source, printer, i);
        }
        progress.close();
        printer.endDoc();
        screen.setMousePointer(Screen::DefaultPointer);
    } catch (const std::exception &) {
        if (!trapArmed)
            throw;
        // The partly drawn document is thrown away before the user hears of
        // the failure; a second failure while doing so changes nothing.
        try {
            printer.killDoc();
        } catch (const std::exception &) {
        }
        runtime.messageBox(translated(Failed), Runtime::PlainMessage);
        progress.close();
        screen.setMousePointer(Screen::DefaultPointer);
    }
}
