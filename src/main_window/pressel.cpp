#include "main_window/pressel.h"

#include "host/printer.h"
#include "font_sheet/font_sheet.h"
#include "host/runtime.h"
#include "host/screen.h"
#include "main_window/app_icon.h"
#include "main_window/control_table.h"
#include "main_window/list_box.h"
#include "main_window/sample_line.h"

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
// first: the labels lie under every other control, and List3 is drawn over
// the right end of the sample line.
constexpr ControlRow Design[] = {
    // name       container kind                      caption                                  L     T     W     H     font               pt     text                     background          align   flags   screen-reader name
    {"Label1",   nullptr, ControlKind::Label,         "Glyphora",                             {1560,    0, 2655,  615}, "Arial",           24.0,  Colour::Blue,            Colour::LightGrey, Centre, Bold},
    {"Label2",   nullptr, ControlKind::Label,         "Sample",                               { 120, 4320, 5175,  975}, "Times New Roman", 24.0,  Colour::SystemWindowText, Colour::LightGrey, Left,  Bold, "Sample"},
    {"Label4",   nullptr, ControlKind::Label,         "Print Size",                           {4680,  960,  975,  255}, "Arial",           9.75,  Colour::Black,           Colour::LightGrey, Left,   Bold},
    {"Label5",   nullptr, ControlKind::Label,         "All Available Fonts",                  { 120,  840, 2775,  255}, "Arial",           9.75,  Colour::Toolkit,         Colour::Toolkit,   Centre, Bold},
    {"Label6",   nullptr, ControlKind::Label,         "Display",                              {4680, 2880,  975,  255}, "Arial",           9.75,  Colour::Black,           Colour::LightGrey, Centre, Bold},
    {"Command2", nullptr, ControlKind::CommandButton, "Print Fonts",                          {3240, 2400, 1335,  495}, "Arial",           9.0,   Colour::Toolkit,         Colour::LightGrey, 0,      Bold},
    {"Command1", nullptr, ControlKind::CommandButton, "Exit",                                 {3240, 3600, 1335,  495}, "Arial",           9.0,   Colour::Toolkit,         Colour::SystemWindow, 0,   Bold},
    {"List2",    nullptr, ControlKind::ListBox,       nullptr,                                {5040, 1320,  375, 1410}, "Arial",           9.0,   Colour::Toolkit,         Colour::Toolkit,   0,      Bold, "Print Size"},
    {"List1",    nullptr, ControlKind::ListBox,       nullptr,                                { 120, 1200, 3015, 2985}, "Arial",           9.0,   Colour::Toolkit,         Colour::Toolkit,   0,      Bold | Sorted | MultiSelect, "All Available Fonts"},
    {"Command3", nullptr, ControlKind::CommandButton, "Select All",                           {3240, 1200, 1335,  495}, "Arial",           9.0,   Colour::Toolkit,         Colour::Toolkit,   0,      Bold},
    {"Command4", nullptr, ControlKind::CommandButton, "Deselect All",                         {3240, 1800, 1335,  495}, "Arial",           9.0,   Colour::Toolkit,         Colour::Toolkit,   0,      Bold},
    {"List3",    nullptr, ControlKind::ListBox,       nullptr,                                {5040, 3240,  375, 1410}, "Arial",           9.0,   Colour::Toolkit,         Colour::Toolkit,   0,      Bold, "Display"},
    {"Option1",  nullptr, ControlKind::OptionButton,  "Use Font Name as Sample Text",         { 120, 5280, 4575,  375}, "Arial",           9.0,   Colour::Toolkit,         Colour::Toolkit,   0,      Bold | Chosen},
    {"Option2",  nullptr, ControlKind::OptionButton,  "Use User Defined Text as Sample Text", { 120, 5640, 4455,  375}, "Arial",           9.0,   Colour::Toolkit,         Colour::Toolkit,   0,      Bold},
    {"Text1",    nullptr, ControlKind::TextBox,       "",                                     { 840, 6120, 4575,  375}, "Arial",           9.0,   Colour::Toolkit,         Colour::Toolkit,   0,      Bold | Disabled, "User Defined Text"},
};

// The order in which Tab moves the focus. Qt's radio buttons take the focus
// as one group, and a disabled Text1 is skipped.
constexpr const char *TabOrder[] = {"Command3", "Command4", "Command2", "Command1", "List1",
                                    "List2",    "List3",    "Option1",  "Option2",  "Text1"};

// The print sizes (List2) and display sizes (List3), in points, and the
// entries selected when the window first shows: "12" and "24".
constexpr const char *PrintSizes[] = {"10", "12", "14", "16", "18", "20"};
constexpr const char *DisplaySizes[] = {"16", "18", "20", "22", "24"};
constexpr int DefaultPrintSizeRow = 1;
constexpr int DefaultDisplaySizeRow = 4;

constexpr const char *PleaseWait = "Please Wait";
constexpr const char *PrinterOnlyFont = "Printer Only Font";

} // namespace

Pressel::Pressel(Printer &printer, Screen &screen, Runtime &runtime, QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_printer(printer)
    , m_screen(screen)
    , m_runtime(runtime)
    , m_ezFonCnt(runtime)
{
    setObjectName(QStringLiteral("Pressel"));
    setWindowTitle(QString::fromLatin1(Title));
    setWindowIcon(appIcon());
    setFont(designFont("Times New Roman", 26.25, true));

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
    new LongCaptionPainter(m_label2);

    connect(m_command1, &QPushButton::clicked, this, &Pressel::onCommand1Clicked);
    connect(m_command2, &QPushButton::clicked, this, &Pressel::onCommand2Clicked);
    connect(m_command3, &QPushButton::clicked, this, &Pressel::onCommand3Clicked);
    connect(m_command4, &QPushButton::clicked, this, &Pressel::onCommand4Clicked);
    connect(m_list1, &ListBox::listClicked, this, &Pressel::onList1Clicked);
    connect(m_list3, &ListBox::listClicked, this, &Pressel::onList3Clicked);
    // clicked, not toggled: a click on the option already chosen applies it
    // again, and the arrow keys that move the choice click too.
    connect(m_option1, &QRadioButton::clicked, this, &Pressel::onOption1Clicked);
    connect(m_option2, &QRadioButton::clicked, this, &Pressel::onOption2Clicked);
    connect(m_text1, &QLineEdit::textChanged, this, &Pressel::onText1Changed);
}

Pressel::~Pressel() = default;

void Pressel::createControls()
{
    const auto controls = ::buildControls(this, Design, logicalScreenDpi());
    m_label1 = qobject_cast<QLabel *>(controls.value("Label1"));
    m_label2 = qobject_cast<QLabel *>(controls.value("Label2"));
    m_label4 = qobject_cast<QLabel *>(controls.value("Label4"));
    m_label5 = qobject_cast<QLabel *>(controls.value("Label5"));
    m_label6 = qobject_cast<QLabel *>(controls.value("Label6"));
    m_list1 = qobject_cast<ListBox *>(controls.value("List1"));
    m_list2 = qobject_cast<ListBox *>(controls.value("List2"));
    m_list3 = qobject_cast<ListBox *>(controls.value("List3"));
    m_command1 = qobject_cast<QPushButton *>(controls.value("Command1"));
    m_command2 = qobject_cast<QPushButton *>(controls.value("Command2"));
    m_command3 = qobject_cast<QPushButton *>(controls.value("Command3"));
    m_command4 = qobject_cast<QPushButton *>(controls.value("Command4"));
    m_option1 = qobject_cast<QRadioButton *>(controls.value("Option1"));
    m_option2 = qobject_cast<QRadioButton *>(controls.value("Option2"));
    m_text1 = qobject_cast<QLineEdit *>(controls.value("Text1"));

    for (size_t i = 1; i < std::size(TabOrder); ++i)
        setTabOrder(controls.value(TabOrder[i - 1]), controls.value(TabOrder[i]));
}

void Pressel::load()
{
    for (const char *size : PrintSizes)
        m_list2->addItem(QString::fromLatin1(size));
    for (const char *size : DisplaySizes)
        m_list3->addItem(QString::fromLatin1(size));

    m_ezFonCnt.open();
    m_ezFonCnt.label1()->setText(QString::fromLatin1(PleaseWait));
    m_ezFonCnt.repaintLabel(m_ezFonCnt.label1());
    m_ezFonCnt.repaintLabel(m_ezFonCnt.label2());
    m_screen.setMousePointer(Screen::BusyPointer);

    // The printer is asked afresh for the count and the name at every step,
    // as the progress window shows what the printer reports right now. The
    // pump is where the progress window's Stop can end the program.
    const int fontCount = m_printer.fontCount();
    for (int i = 0; i < fontCount; ++i) {
        m_runtime.pumpEvents();
        m_ezFonCnt.label1()->setText(EzFonCnt::countLine(i, m_printer.fontCount() - 1));
        m_ezFonCnt.label2()->setText(m_printer.fonts(i));
        m_ezFonCnt.repaintWindow();
        m_list1->addItem(m_printer.fonts(i));
    }

    m_ezFonCnt.label1()->setText(QString::fromLatin1(PleaseWait));
    m_ezFonCnt.closeWindow();
    m_screen.setMousePointer(Screen::DefaultPointer);

    show();
    m_list2->setSelected(DefaultPrintSizeRow, true);
    m_list3->setSelected(DefaultDisplaySizeRow, true);
    m_text1->setText(m_runtime.readSetting(QString::fromLatin1(SettingsApplication),
                                           QString::fromLatin1(SettingsSection),
                                           QString::fromLatin1(SettingsKey)));
}

void Pressel::onCommand1Clicked()
{
    // An empty box leaves the text stored before in place.
    const QString text = m_text1->text();
    if (!text.isEmpty())
        m_runtime.writeSetting(QString::fromLatin1(SettingsApplication),
                               QString::fromLatin1(SettingsSection),
                               QString::fromLatin1(SettingsKey), text);
    close();
}

void Pressel::onCommand2Clicked()
{
    // The run pumps events, so Print Fonts can be clicked again inside it; a
    // second run there would interleave two sheets in one document.
    if (m_printing)
        return;
    const QScopedValueRollback<bool> running(m_printing, true);
    printFontSheet(*this, m_printer, m_screen, m_runtime);
}

void Pressel::onCommand3Clicked()
{
    setEveryEntrySelected(true);
}

void Pressel::onCommand4Clicked()
{
    setEveryEntrySelected(false);
}

void Pressel::setEveryEntrySelected(bool selected)
{
    // Every write below raises List1's click; the hidden sample line tells
    // the font click to ignore it.
    m_label2->hide();
    const int count = m_list1->count();
    for (int i = 0; i < count; ++i) {
        // A Select All or Deselect All clicked in here runs to its end and
        // shows the sample line again; this loop then goes on with it shown.
        m_runtime.pumpEvents();
        m_list1->setSelected(i, selected);
    }
    m_label2->show();
}

void Pressel::onList1Clicked()
{
    if (m_label2->isHidden())
        return;
    // The sample follows the entry last clicked or moved to, not the
    // selection: a Ctrl-click that deselects an entry still shows its font.
    const QString font = m_list1->currentText();
    if (font.isEmpty())
        return;
    try {
        // Three tests in turn, so that an empty Text1 gives the font's name
        // under either option.
        if (m_option1->isChecked())
            m_label2->setText(font);
        if (m_option2->isChecked())
            m_label2->setText(m_text1->text());
        if (m_text1->text().isEmpty())
            m_label2->setText(font);
        setFontName(*m_label2, m_screen, font);
        // Each font shows plain, at the display size, whatever the line
        // showed before.
        QFont plain = m_label2->font();
        plain.setPointSizeF(displayPoints());
        plain.setBold(false);
        plain.setItalic(false);
        m_label2->setFont(plain);
    } catch (const std::exception &) {
        // In practice a face that only the printer has. Only the face and
        // the caption change: the size, bold and italic stay as they were.
        setArialFontName(*m_label2, m_screen);
        m_label2->setText(QString::fromLatin1(PrinterOnlyFont));
    }
}

void Pressel::onList3Clicked()
{
    // Only the size changes: the sample keeps its text and face.
    QFont font = m_label2->font();
    font.setPointSizeF(displayPoints());
    m_label2->setFont(font);
}

double Pressel::displayPoints() const
{
    return m_list3->currentText().toDouble();
}

void Pressel::onOption1Clicked()
{
    // The text stays in the box, greyed. The face is left as it is.
    if (m_option1->isChecked()) {
        m_text1->setEnabled(false);
        m_label2->setText(m_list1->currentText());
    }
}

void Pressel::onOption2Clicked()
{
    // The focus stays where it is, and so does the face.
    if (m_option2->isChecked()) {
        m_text1->setEnabled(true);
        m_label2->setText(m_text1->text());
    }
    if (m_label2->text().isEmpty())
        m_label2->setText(m_list1->currentText());
}

void Pressel::onText1Changed()
{
    // The options are not consulted here: the next font or option click
    // applies them again.
    m_label2->setText(m_text1->text());
    if (m_label2->text().isEmpty())
        m_label2->setText(m_list1->currentText());
}

void Pressel::closeEvent(QCloseEvent *event)
{
    // Closing the main window, for whatever reason, ends the program; the
    // window itself never closes on its own.
    event->ignore();
    m_runtime.endProgram();
}
