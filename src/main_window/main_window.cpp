// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "main_window/main_window.h"

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

constexpr int Left = Qt::AlignLeft;
constexpr int Centre = Qt::AlignHCenter;

// The window's design, one row per control, bottom of the stacking order
// first: the labels lie under every other control, and displaySizeList is drawn over
// the right end of the sample line.
constexpr ControlRow Design[] = {
    // name               container kind                      caption                                  L     T     W     H     font               pt     text                     background          align   flags   screen-reader name
    {"titleLabel",        nullptr, ControlKind::Label,         QT_TRANSLATE_NOOP("MainWindow", "Glyphora"),                             {1560,    0, 2655,  615}, "Arial",           24.0,  Colour::Blue,            Colour::LightGrey, Centre, Bold},
    {"sampleLine",        nullptr, ControlKind::Label,         QT_TRANSLATE_NOOP("MainWindow", "Sample"),                               { 120, 4320, 5175,  975}, "Times New Roman", 24.0,  Colour::SystemWindowText, Colour::LightGrey, Left,  Bold, QT_TRANSLATE_NOOP("MainWindow", "Sample")},
    {"printSizeLabel",    nullptr, ControlKind::Label,         QT_TRANSLATE_NOOP("MainWindow", "Print Size"),                           {4680,  960,  975,  255}, "Arial",           9.75,  Colour::Black,           Colour::LightGrey, Left,   Bold},
    {"fontListLabel",     nullptr, ControlKind::Label,         QT_TRANSLATE_NOOP("MainWindow", "All Available Fonts"),                  { 120,  840, 2775,  255}, "Arial",           9.75,  Colour::Toolkit,         Colour::Toolkit,   Centre, Bold},
    {"displaySizeLabel",  nullptr, ControlKind::Label,         QT_TRANSLATE_NOOP("MainWindow", "Display"),                              {4680, 2880,  975,  255}, "Arial",           9.75,  Colour::Black,           Colour::LightGrey, Centre, Bold},
    {"printButton",       nullptr, ControlKind::CommandButton, QT_TRANSLATE_NOOP("MainWindow", "Print Fonts"),                          {3240, 2400, 1335,  495}, "Arial",           9.0,   Colour::Toolkit,         Colour::LightGrey, 0,      Bold},
    {"exitButton",        nullptr, ControlKind::CommandButton, QT_TRANSLATE_NOOP("MainWindow", "Exit"),                                 {3240, 3600, 1335,  495}, "Arial",           9.0,   Colour::Toolkit,         Colour::SystemWindow, 0,   Bold},
    {"printSizeList",     nullptr, ControlKind::ListBox,       nullptr,                                                                 {5040, 1320,  375, 1410}, "Arial",           9.0,   Colour::Toolkit,         Colour::Toolkit,   0,      Bold, QT_TRANSLATE_NOOP("MainWindow", "Print Size")},
    {"fontList",          nullptr, ControlKind::ListBox,       nullptr,                                                                 { 120, 1200, 3015, 2985}, "Arial",           9.0,   Colour::Toolkit,         Colour::Toolkit,   0,      Bold | Sorted | MultiSelect, QT_TRANSLATE_NOOP("MainWindow", "All Available Fonts")},
    {"selectAllButton",   nullptr, ControlKind::CommandButton, QT_TRANSLATE_NOOP("MainWindow", "Select All"),                           {3240, 1200, 1335,  495}, "Arial",           9.0,   Colour::Toolkit,         Colour::Toolkit,   0,      Bold},
    {"deselectAllButton", nullptr, ControlKind::CommandButton, QT_TRANSLATE_NOOP("MainWindow", "Deselect All"),                         {3240, 1800, 1335,  495}, "Arial",           9.0,   Colour::Toolkit,         Colour::Toolkit,   0,      Bold},
    {"displaySizeList",   nullptr, ControlKind::ListBox,       nullptr,                                                                 {5040, 3240,  375, 1410}, "Arial",           9.0,   Colour::Toolkit,         Colour::Toolkit,   0,      Bold, QT_TRANSLATE_NOOP("MainWindow", "Display")},
    {"fontNameOption",    nullptr, ControlKind::OptionButton,  QT_TRANSLATE_NOOP("MainWindow", "Use Font Name as Sample Text"),         { 120, 5280, 4575,  375}, "Arial",           9.0,   Colour::Toolkit,         Colour::Toolkit,   0,      Bold | Chosen},
    {"userTextOption",    nullptr, ControlKind::OptionButton,  QT_TRANSLATE_NOOP("MainWindow", "Use User Defined Text as Sample Text"), { 120, 5640, 4455,  375}, "Arial",           9.0,   Colour::Toolkit,         Colour::Toolkit,   0,      Bold},
    {"userTextBox",       nullptr, ControlKind::TextBox,       "",                                                                      { 840, 6120, 4575,  375}, "Arial",           9.0,   Colour::Toolkit,         Colour::Toolkit,   0,      Bold | Disabled, QT_TRANSLATE_NOOP("MainWindow", "User Defined Text")},
};

// The order in which Tab moves the focus. Qt's radio buttons take the focus
// as one group, and a disabled userTextBox is skipped.
constexpr const char *TabOrder[] = {"selectAllButton", "deselectAllButton", "printButton", "exitButton", "fontList",
                                    "printSizeList",    "displaySizeList",    "fontNameOption",  "userTextOption",  "userTextBox"};

// The print sizes (printSizeList) and display sizes (displaySizeList), in points, and the
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
    setWindowTitle(tr(Title));
    setWindowIcon(appIcon());
    setFont(designFont(m_fonts, "Times New Roman", 26.25, true));

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
    m_titleLabel = controls.get<QLabel>("titleLabel");
    m_sampleLine = controls.get<QLabel>("sampleLine");
    // The sample line shows its face as it is from the design on, the
    // stored text included: it borrows no glyph.
    m_sampleLine->setFont(m_fonts.standaloneFont(m_sampleLine->font()));
    m_fonts.keepFacesSetUp(m_sampleLine->font());
    m_printSizeLabel = controls.get<QLabel>("printSizeLabel");
    m_fontListLabel = controls.get<QLabel>("fontListLabel");
    m_displaySizeLabel = controls.get<QLabel>("displaySizeLabel");
    m_fontList = controls.get<ListBox>("fontList");
    m_printSizeList = controls.get<ListBox>("printSizeList");
    m_displaySizeList = controls.get<ListBox>("displaySizeList");
    m_exitButton = controls.get<QPushButton>("exitButton");
    m_printButton = controls.get<QPushButton>("printButton");
    m_selectAllButton = controls.get<QPushButton>("selectAllButton");
    m_deselectAllButton = controls.get<QPushButton>("deselectAllButton");
    m_fontNameOption = controls.get<QRadioButton>("fontNameOption");
    m_userTextOption = controls.get<QRadioButton>("userTextOption");
    m_userTextBox = controls.get<QLineEdit>("userTextBox");

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
    } catch (const std::exception &) {
        // In practice a face that only the printer has. Only the face and
        // the caption change: the size, bold and italic stay as they were.
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
