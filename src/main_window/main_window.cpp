// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "main_window/main_window.h"

#include "desktop/program_name.h"
#include "desktop/runtime.h"
#include "desktop/screen.h"
#include "font_sheet/font_sheet.h"
#include "fonts/font_catalogue.h"
#include "main_window/app_icon.h"
#include "main_window/sample_line.h"
#include "printing/printer.h"
#include "ui/control_table.h"
#include "ui/list_box.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>

namespace {

constexpr TwipsRect ClientArea{1170, 450, 5685, 6660};

// The controls' object names: what the code, the tab order, screen readers
// and test tools find each control by.
namespace ControlName {
constexpr const char *TitleLabel = "titleLabel";
constexpr const char *SampleLine = "sampleLine";
constexpr const char *PrintSizeLabel = "printSizeLabel";
constexpr const char *FontListLabel = "fontListLabel";
constexpr const char *DisplaySizeLabel = "displaySizeLabel";
constexpr const char *PrintButton = "printButton";
constexpr const char *ExitButton = "exitButton";
constexpr const char *PrintSizeList = "printSizeList";
constexpr const char *FontList = "fontList";
constexpr const char *SelectAllButton = "selectAllButton";
constexpr const char *DeselectAllButton = "deselectAllButton";
constexpr const char *DisplaySizeList = "displaySizeList";
constexpr const char *FontNameOption = "fontNameOption";
constexpr const char *UserTextOption = "userTextOption";
constexpr const char *UserTextBox = "userTextBox";
} // namespace ControlName

constexpr const char *Arial = "Arial";
constexpr const char *TimesNewRoman = "Times New Roman";
// The size of the controls' own texts; the labels above the lists are a
// little larger.
constexpr double ControlPoints = 9.0;
constexpr double ListLabelPoints = 9.75;

// The window's design, bottom of the stacking order first: the labels lie
// under every other control, and the display size list is drawn over the
// right end of the sample line.
constexpr ControlRow Design[] = {
    {.name = ControlName::TitleLabel, .kind = ControlKind::Label,
     .caption = ProgramName::Text, .captionContext = ProgramName::Context,
     .rect = {.left = 1560, .top = 0, .width = 2655, .height = 615},
     .fontFamily = Arial, .fontPoints = 24.0, .text = Colour::Blue, .background = Colour::LightGrey,
     .alignment = Qt::AlignHCenter, .flags = Bold},
    {.name = ControlName::SampleLine, .kind = ControlKind::Label,
     .caption = QT_TRANSLATE_NOOP("MainWindow", "Sample"),
     .rect = {.left = 120, .top = 4320, .width = 5175, .height = 975},
     .fontFamily = TimesNewRoman, .fontPoints = 24.0, .text = Colour::SystemWindowText,
     .background = Colour::LightGrey, .alignment = Qt::AlignLeft, .flags = Bold,
     .accessibleName = QT_TRANSLATE_NOOP("MainWindow", "Sample")},
    {.name = ControlName::PrintSizeLabel, .kind = ControlKind::Label,
     .caption = QT_TRANSLATE_NOOP("MainWindow", "Print Size"),
     .rect = {.left = 4680, .top = 960, .width = 975, .height = 255},
     .fontFamily = Arial, .fontPoints = ListLabelPoints, .text = Colour::Black, .background = Colour::LightGrey,
     .alignment = Qt::AlignLeft, .flags = Bold},
    {.name = ControlName::FontListLabel, .kind = ControlKind::Label,
     .caption = QT_TRANSLATE_NOOP("MainWindow", "All Available Fonts"),
     .rect = {.left = 120, .top = 840, .width = 2775, .height = 255},
     .fontFamily = Arial, .fontPoints = ListLabelPoints, .alignment = Qt::AlignHCenter, .flags = Bold},
    {.name = ControlName::DisplaySizeLabel, .kind = ControlKind::Label,
     .caption = QT_TRANSLATE_NOOP("MainWindow", "Display"),
     .rect = {.left = 4680, .top = 2880, .width = 975, .height = 255},
     .fontFamily = Arial, .fontPoints = ListLabelPoints, .text = Colour::Black, .background = Colour::LightGrey,
     .alignment = Qt::AlignHCenter, .flags = Bold},
    {.name = ControlName::PrintButton, .kind = ControlKind::CommandButton,
     .caption = QT_TRANSLATE_NOOP("MainWindow", "Print Fonts"),
     .rect = {.left = 3240, .top = 2400, .width = 1335, .height = 495},
     .fontFamily = Arial, .fontPoints = ControlPoints, .background = Colour::LightGrey, .flags = Bold},
    {.name = ControlName::ExitButton, .kind = ControlKind::CommandButton,
     .caption = QT_TRANSLATE_NOOP("MainWindow", "Exit"),
     .rect = {.left = 3240, .top = 3600, .width = 1335, .height = 495},
     .fontFamily = Arial, .fontPoints = ControlPoints, .background = Colour::SystemWindow, .flags = Bold},
    {.name = ControlName::PrintSizeList, .kind = ControlKind::ListBox,
     .rect = {.left = 5040, .top = 1320, .width = 375, .height = 1410},
     .fontFamily = Arial, .fontPoints = ControlPoints, .flags = Bold,
     .accessibleName = QT_TRANSLATE_NOOP("MainWindow", "Print Size")},
    {.name = ControlName::FontList, .kind = ControlKind::ListBox,
     .rect = {.left = 120, .top = 1200, .width = 3015, .height = 2985},
     .fontFamily = Arial, .fontPoints = ControlPoints, .flags = Bold | Sorted | MultiSelect,
     .accessibleName = QT_TRANSLATE_NOOP("MainWindow", "All Available Fonts")},
    {.name = ControlName::SelectAllButton, .kind = ControlKind::CommandButton,
     .caption = QT_TRANSLATE_NOOP("MainWindow", "Select All"),
     .rect = {.left = 3240, .top = 1200, .width = 1335, .height = 495},
     .fontFamily = Arial, .fontPoints = ControlPoints, .flags = Bold},
    {.name = ControlName::DeselectAllButton, .kind = ControlKind::CommandButton,
     .caption = QT_TRANSLATE_NOOP("MainWindow", "Deselect All"),
     .rect = {.left = 3240, .top = 1800, .width = 1335, .height = 495},
     .fontFamily = Arial, .fontPoints = ControlPoints, .flags = Bold},
    {.name = ControlName::DisplaySizeList, .kind = ControlKind::ListBox,
     .rect = {.left = 5040, .top = 3240, .width = 375, .height = 1410},
     .fontFamily = Arial, .fontPoints = ControlPoints, .flags = Bold,
     .accessibleName = QT_TRANSLATE_NOOP("MainWindow", "Display")},
    {.name = ControlName::FontNameOption, .kind = ControlKind::OptionButton,
     .caption = QT_TRANSLATE_NOOP("MainWindow", "Use Font Name as Sample Text"),
     .rect = {.left = 120, .top = 5280, .width = 4575, .height = 375},
     .fontFamily = Arial, .fontPoints = ControlPoints, .flags = Bold | Chosen},
    {.name = ControlName::UserTextOption, .kind = ControlKind::OptionButton,
     .caption = QT_TRANSLATE_NOOP("MainWindow", "Use User Defined Text as Sample Text"),
     .rect = {.left = 120, .top = 5640, .width = 4455, .height = 375},
     .fontFamily = Arial, .fontPoints = ControlPoints, .flags = Bold},
    {.name = ControlName::UserTextBox, .kind = ControlKind::TextBox,
     .rect = {.left = 840, .top = 6120, .width = 4575, .height = 375},
     .fontFamily = Arial, .fontPoints = ControlPoints, .flags = Bold | Disabled,
     .accessibleName = QT_TRANSLATE_NOOP("MainWindow", "User Defined Text")},
};

// The order in which Tab moves the focus. Qt's radio buttons take the focus
// as one group, and a disabled user text box is skipped.
constexpr const char *TabOrder[] = {
    ControlName::SelectAllButton, ControlName::DeselectAllButton, ControlName::PrintButton,
    ControlName::ExitButton,      ControlName::FontList,          ControlName::PrintSizeList,
    ControlName::DisplaySizeList, ControlName::FontNameOption,    ControlName::UserTextOption,
    ControlName::UserTextBox,
};

// The print sizes and the display sizes, in points, and the
// entries selected when the window first shows: "12" and "24".
constexpr const char *PrintSizes[] = {"10", "12", "14", "16", "18", "20"};
constexpr const char *DisplaySizes[] = {"16", "18", "20", "22", "24"};
constexpr int DefaultPrintSizeRow = 1;
constexpr int DefaultDisplaySizeRow = 4;

constexpr const char *PrinterOnlyFont = QT_TRANSLATE_NOOP("MainWindow", "Printer Only Font");
// What the sample line says in place of a face whose files were removed,
// updated or damaged since the list was read.
constexpr const char *NotAvailableText = QT_TRANSLATE_NOOP("MainWindow", "Font Not Available");

// The progress window as a print run sees it.
class PrintProgress final : public FontSheetProgress
{
public:
    explicit PrintProgress(ProgressWindow &window)
        : m_window(window)
    {
    }

    void openForPrinting() override
    {
        m_window.open();
        m_window.setMode(ProgressWindow::Mode::Printing);
    }
    void repaintLines() override { m_window.repaintLines(); }
    void clearStopRequest() override { m_window.setStopFlag(ProgressWindow::StopFlag::DontStop); }
    void setNote(const QString &note) override { m_window.setNote(note); }
    void repaintWindow() override { m_window.repaintWindow(); }
    void setCount(int index, int last) override { m_window.setCount(index, last); }
    bool stopRequested() const override
    {
        return m_window.stopFlag() == ProgressWindow::StopFlag::Stop;
    }
    void close() override { m_window.closeWindow(); }

private:
    ProgressWindow &m_window;
};

} // namespace

MainWindow::MainWindow(FontCatalogue &fonts, Printer &printer, Screen &screen, Runtime &runtime,
                       QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_fonts(fonts)
    , m_printer(printer)
    , m_screen(screen)
    , m_runtime(runtime)
    , m_progressWindow(fonts, runtime)
    , m_sheetProgress(std::make_unique<PrintProgress>(m_progressWindow))
{
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(ProgramName::title());
    setWindowIcon(appIcon());
    setFont(designFont(m_fonts, TimesNewRoman, 26.25, true));

    QPalette background = palette();
    background.setColor(QPalette::Window, colourOf(Colour::LightGrey));
    setPalette(background);
    setAutoFillBackground(true);

    createControls();

    const qreal dpi = logicalScreenDpi();
    const QRect client = twipsToPixels(ClientArea, dpi);
    setGeometry(client);
    setFixedSize(client.size());

    // A long sample text must not cost a layout of all of it at every paint.
    new LongCaptionPainter(m_sampleLine);

    connectHandler(m_exitButton, &QPushButton::clicked, &MainWindow::onExitClicked);
    connectHandler(m_printButton, &QPushButton::clicked, &MainWindow::onPrintClicked);
    connectHandler(m_selectAllButton, &QPushButton::clicked, &MainWindow::onSelectAllClicked);
    connectHandler(m_deselectAllButton, &QPushButton::clicked, &MainWindow::onDeselectAllClicked);
    connectHandler(m_fontList, &ListBox::listClicked, &MainWindow::onFontListClicked);
    connectHandler(m_displaySizeList, &ListBox::listClicked, &MainWindow::onDisplaySizeListClicked);
    // clicked, not toggled: a click on the option already chosen applies it
    // again, and the arrow keys that move the choice click too.
    connectHandler(m_fontNameOption, &QRadioButton::clicked, &MainWindow::onFontNameOptionClicked);
    connectHandler(m_userTextOption, &QRadioButton::clicked, &MainWindow::onUserTextOptionClicked);
    connectHandler(m_userTextBox, &QLineEdit::textChanged, &MainWindow::onUserTextChanged);
    connect(&m_fonts.faceWatch(), &FaceWatch::facesFaulted, this, [this] { runHandler(&MainWindow::onFacesFaulted); });
}

template <typename Control, typename Signal>
void MainWindow::connectHandler(Control *control, Signal signal, void (MainWindow::*handler)())
{
    connect(control, signal, this, [this, handler] { runHandler(handler); });
}

void MainWindow::runHandler(void (MainWindow::*handler)())
{
    // What the failed handler may have left behind is put back to how it
    // was when the handler began. A handler that runs inside a print run's
    // event pump leaves that run's progress window, pointer and document to
    // it, and one inside Select All leaves the sample line hidden: those
    // routines go on when it returns.
    const bool insidePrintRun = m_printing;
    const bool sampleLineWasHidden = m_sampleLine->isHidden();
    ::runHandler(
        m_runtime, [this, handler] { (this->*handler)(); },
        [&] {
            m_sampleLine->setHidden(sampleLineWasHidden);
            if (insidePrintRun)
                return;
            m_progressWindow.closeWindow();
            m_screen.setMousePointer(Screen::Pointer::Default);
            // A document that a failed run began is never carried into the
            // next run.
            m_printer.abort();
        });
}

MainWindow::~MainWindow() = default;

void MainWindow::createControls()
{
    const Controls controls = ::buildControls(this, Design, m_fonts, logicalScreenDpi(), "MainWindow");
    m_titleLabel = controls.get<QLabel>(ControlName::TitleLabel);
    m_sampleLine = controls.get<QLabel>(ControlName::SampleLine);
    // The sample line shows its face as it is from the design on, the
    // stored text included: it borrows no glyph.
    m_sampleLine->setFont(m_fonts.standaloneFont(m_sampleLine->font()));
    m_fonts.keepFacesSetUp(m_sampleLine->font());
    m_printSizeLabel = controls.get<QLabel>(ControlName::PrintSizeLabel);
    m_fontListLabel = controls.get<QLabel>(ControlName::FontListLabel);
    m_displaySizeLabel = controls.get<QLabel>(ControlName::DisplaySizeLabel);
    m_fontList = controls.get<ListBox>(ControlName::FontList);
    m_printSizeList = controls.get<ListBox>(ControlName::PrintSizeList);
    m_displaySizeList = controls.get<ListBox>(ControlName::DisplaySizeList);
    m_exitButton = controls.get<QPushButton>(ControlName::ExitButton);
    m_printButton = controls.get<QPushButton>(ControlName::PrintButton);
    m_selectAllButton = controls.get<QPushButton>(ControlName::SelectAllButton);
    m_deselectAllButton = controls.get<QPushButton>(ControlName::DeselectAllButton);
    m_fontNameOption = controls.get<QRadioButton>(ControlName::FontNameOption);
    m_userTextOption = controls.get<QRadioButton>(ControlName::UserTextOption);
    m_userTextBox = controls.get<QLineEdit>(ControlName::UserTextBox);

    for (size_t i = 1; i < std::size(TabOrder); ++i)
        setTabOrder(controls.get<QWidget>(TabOrder[i - 1]), controls.get<QWidget>(TabOrder[i]));
}

void MainWindow::load()
{
    for (const char *size : PrintSizes)
        m_printSizeList->addItem(QString::fromLatin1(size));
    for (const char *size : DisplaySizes)
        m_displaySizeList->addItem(QString::fromLatin1(size));

    m_progressWindow.open();
    m_progressWindow.showPleaseWait();
    m_progressWindow.repaintLines();
    {
        const BusyPointer busy(m_screen);

        // The printer is asked afresh for the count and the name at every
        // step, as the progress window shows what the printer reports right
        // now. The pump is where the progress window's Stop can end the
        // program.
        const int fontCount = m_printer.fontCount();
        for (int i = 0; i < fontCount; ++i) {
            m_runtime.pumpEvents();
            m_progressWindow.setCount(i, m_printer.fontCount() - 1);
            m_progressWindow.setNote(m_printer.fontName(i));
            m_progressWindow.repaintWindow();
            m_fontList->addItem(m_printer.fontName(i));
        }

        m_progressWindow.showPleaseWait();
        m_progressWindow.closeWindow();
    }

    show();
    m_printSizeList->setSelected(DefaultPrintSizeRow, true);
    m_displaySizeList->setSelected(DefaultDisplaySizeRow, true);
    m_userTextBox->setText(m_runtime.readSetting(QString::fromLatin1(SettingsApplication),
                                           QString::fromLatin1(SettingsSection),
                                           QString::fromLatin1(SettingsKey)));
}

void MainWindow::onExitClicked()
{
    // An empty box leaves the text stored before in place.
    const QString text = m_userTextBox->text();
    if (!text.isEmpty())
        m_runtime.writeSetting(QString::fromLatin1(SettingsApplication),
                               QString::fromLatin1(SettingsSection),
                               QString::fromLatin1(SettingsKey), text);
    close();
}

void MainWindow::onPrintClicked()
{
    printFonts();
}

void MainWindow::printFonts()
{
    // The run pumps events, so Print Fonts can be clicked again inside it; a
    // second run there would interleave two sheets in one document.
    if (m_printing)
        return;
    const QScopedValueRollback<bool> running(m_printing, true);
    printFontSheet(*this, *m_sheetProgress, m_printer, m_screen, m_runtime);
}

int MainWindow::entryCount() const
{
    return m_fontList->count();
}

QString MainWindow::entryText(int index) const
{
    return m_fontList->text(index);
}

bool MainWindow::isEntrySelected(int index) const
{
    return m_fontList->isSelected(index);
}

int MainWindow::selectedEntryCount() const
{
    return m_fontList->selectedCount();
}

QString MainWindow::printSize() const
{
    return m_printSizeList->currentText();
}

bool MainWindow::fontNameChosen() const
{
    return m_fontNameOption->isChecked();
}

bool MainWindow::userTextChosen() const
{
    return m_userTextOption->isChecked();
}

QString MainWindow::userText() const
{
    return m_userTextBox->text();
}

void MainWindow::onSelectAllClicked()
{
    setEveryEntrySelected(true);
}

void MainWindow::onDeselectAllClicked()
{
    setEveryEntrySelected(false);
}

void MainWindow::setEveryEntrySelected(bool selected)
{
    // Every write below raises fontList's click; the hidden sample line tells
    // the font click to ignore it.
    m_sampleLine->hide();
    const int count = m_fontList->count();
    for (int i = 0; i < count; ++i) {
        // A Select All or Deselect All clicked in here runs to its end and
        // shows the sample line again; this loop then goes on with it shown.
        m_runtime.pumpEvents();
        m_fontList->setSelected(i, selected);
    }
    m_sampleLine->show();
}

void MainWindow::onFontListClicked()
{
    if (m_sampleLine->isHidden())
        return;
    // The sample follows the entry last clicked or moved to, not the
    // selection: a Ctrl-click that deselects an entry still shows its font.
    const QString font = m_fontList->currentText();
    if (font.isEmpty())
        return;
    try {
        // Three tests in turn, so that an empty userTextBox gives the font's name
        // under either option.
        if (m_fontNameOption->isChecked())
            m_sampleLine->setText(font);
        if (m_userTextOption->isChecked())
            m_sampleLine->setText(m_userTextBox->text());
        if (m_userTextBox->text().isEmpty())
            m_sampleLine->setText(font);
        setFontName(*m_sampleLine, m_screen, font);
        // Each font shows plain, at the display size, whatever the line
        // showed before.
        QFont plain = m_sampleLine->font();
        plain.setPointSizeF(displayPoints());
        plain.setBold(false);
        plain.setItalic(false);
        setSampleFont(plain);
        if (!m_screen.drawsOwnFace(m_sampleLine->font()))
            throw FontNotAvailable(font);
    } catch (const FontNotAvailable &) {
        showFontNotAvailable();
    } catch (const FontNotDrawable &) {
        // A face that only the printer has. Only the face and the caption
        // change: the size, bold and italic stay as they were. Any other
        // failure is no news about the font, and is told of in its own
        // words at the handler's boundary.
        setCaptionFontName(*m_sampleLine, m_screen, m_fonts);
        m_sampleLine->setText(tr(PrinterOnlyFont));
    }
}

void MainWindow::onDisplaySizeListClicked()
{
    // A face that is gone is not set up again at the new size.
    sampleFaceLost();
    // Only the size changes: the sample keeps its text and face.
    QFont font = m_sampleLine->font();
    font.setPointSizeF(displayPoints());
    setSampleFont(font);
}

void MainWindow::setSampleFont(const QFont &font)
{
    m_sampleLine->setFont(font);
    m_fonts.setUpFaces(m_sampleLine->font(), m_sampleLine->text());
}

bool MainWindow::sampleFaceLost()
{
    // Until a font is clicked the line shows its design face, as the other
    // controls do: only a fault in its file tells of a change there.
    const QString current = m_fontList->currentText();
    if (current.isEmpty())
        return false;
    const bool currentLost = m_screen.canDrawFont(current) && !m_screen.fontAvailable(current);
    if (!currentLost && m_screen.fontAvailable(m_sampleLine->font().family()))
        return false;
    showFontNotAvailable();
    return true;
}

void MainWindow::showFontNotAvailable()
{
    setCaptionFontName(*m_sampleLine, m_screen, m_fonts);
    m_sampleLine->setText(tr(NotAvailableText));
}

void MainWindow::onFacesFaulted()
{
    // What was drawn in a face that faulted may be empty.
    if (sampleFaceLost())
        m_sampleLine->update();
}

double MainWindow::displayPoints() const
{
    return m_displaySizeList->currentText().toDouble();
}

void MainWindow::onFontNameOptionClicked()
{
    // The text stays in the box, greyed. The face is left as it is.
    if (m_fontNameOption->isChecked()) {
        m_userTextBox->setEnabled(false);
        // A face lost since the click shows as such, not in the old face.
        if (!sampleFaceLost())
            m_sampleLine->setText(m_fontList->currentText());
    }
}

void MainWindow::onUserTextOptionClicked()
{
    // The focus stays where it is, and so does the face.
    if (m_userTextOption->isChecked()) {
        m_userTextBox->setEnabled(true);
        if (sampleFaceLost())
            return;
        m_sampleLine->setText(m_userTextBox->text());
    }
    if (m_sampleLine->text().isEmpty())
        m_sampleLine->setText(m_fontList->currentText());
}

void MainWindow::onUserTextChanged()
{
    // The options are not consulted here: the next font or option click
    // applies them again. New text in a face that is gone would read
    // glyphs from its file.
    if (sampleFaceLost())
        return;
    m_sampleLine->setText(m_userTextBox->text());
    if (m_sampleLine->text().isEmpty())
        m_sampleLine->setText(m_fontList->currentText());
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Closing the main window, for whatever reason, ends the program; the
    // window itself never closes on its own.
    event->ignore();
    m_runtime.endProgram();
}
