#include "font_sheet/font_sheet.h"

#include "host/printer.h"
#include "host/runtime.h"
#include "host/screen.h"
#include "main_window/list_box.h"
#include "main_window/pressel.h"
#include "progress_window/ez_fon_cnt.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <exception>

namespace {

const QString NothingSelected = QStringLiteral(
    "You must select at least one font before printing.  To select more than one font you can "
    "use the CTRL key.");
const QString NothingSelectedTitle = QStringLiteral("Error");
const QString Failed = QStringLiteral("An Error has occured.  Please notify the author.");
const QString DontStop = QStringLiteral("Dont Stop");
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
    return QStringLiteral("Glyphora Font Sheet ") + runtime.shortDate() + QChar(13);
}

QString printingNote(int selected)
{
    return QStringLiteral("Printing the %1 fonts you selected.").arg(selected);
}

// Prints entry i of the font list: its caption line, then its sample line.
void printEntry(Pressel &pressel, Printer &printer, int i)
{
    ListBox &list1 = *pressel.list1();

    printer.setCurrentX(printer.currentX() + CaptionIndent);
    printer.setFontName(CaptionFont);
    printer.setFontBold(false);
    printer.setFontItalic(false);
    printer.setFontSize(CaptionPoints);
    printer.printLine(QLatin1Char('(') + list1.text(i) + QLatin1Char(')'));

    printer.setCurrentX(printer.currentX() + SampleIndent);
    printer.setFontName(list1.text(i));
    printer.setFontSize(pressel.list2()->currentText());
    // The two options are tested one after the other; exactly one is chosen.
    if (pressel.option1()->isChecked())
        printer.printLine(list1.text(i));
    if (pressel.option2()->isChecked())
        printer.printLine(pressel.text1()->text());
}

} // namespace

void printFontSheet(Pressel &pressel, Printer &printer, Screen &screen, Runtime &runtime)
{
    ListBox &list1 = *pressel.list1();
    EzFonCnt &ezFonCnt = pressel.ezFonCnt();

    if (list1.selectedCount() < 1) {
        runtime.messageBox(NothingSelected, Runtime::ExclamationMessage, NothingSelectedTitle);
        return;
    }

    ezFonCnt.open();
    ezFonCnt.setCaption(QString::fromLatin1(EzFonCnt::PrintingCaption));
    ezFonCnt.repaintLabel(ezFonCnt.label1());
    ezFonCnt.repaintLabel(ezFonCnt.label2());
    ezFonCnt.repaintLabel(ezFonCnt.label3());
    // A stop request left over from an earlier run must not stop this one.
    ezFonCnt.label3()->setText(DontStop);
    screen.setMousePointer(Screen::BusyPointer);
    ezFonCnt.label2()->setText(printingNote(list1.selectedCount()));
    ezFonCnt.repaintWindow();

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
        const int last = list1.count() - 1;
        for (int i = 0; i <= last; ++i) {
            runtime.pumpEvents();
            ezFonCnt.label1()->setText(EzFonCnt::countLine(i, list1.count() - 1));
            if (!list1.isSelected(i))
                continue;
            trapArmed = true;
            if (ezFonCnt.label3()->text() == QLatin1String(EzFonCnt::StopRequest)) {
                // Stop closed the progress window already. What was drawn
                // of this run is thrown away: nothing reaches the printer.
                printer.killDoc();
                screen.setMousePointer(Screen::DefaultPointer);
                return;
            }
            printEntry(pressel, printer, i);
        }
        ezFonCnt.closeWindow();
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
        runtime.messageBox(Failed, Runtime::PlainMessage);
        ezFonCnt.closeWindow();
        screen.setMousePointer(Screen::DefaultPointer);
    }
}
