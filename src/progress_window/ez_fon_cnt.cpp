#include "progress_window/ez_fon_cnt.h"

#include "host/runtime.h"
#include "main_window/control_table.h"
#include "progress_window/x11_tool_window.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr TwipsRect ClientArea{3690, 2580, 4380, 2880};

constexpr const char *InitialLabel1 = "Font Count";
constexpr const char *InitialLabel2 = "Font Name";
constexpr const char *InitialLabel3 = "Label3";

constexpr int Centre = Qt::AlignHCenter;

constexpr const char *CountLineDescription = "Font count";
constexpr const char *NameLineDescription = "Font being read or printed";

// The window's design, one row per control, bottom of the stacking order
// first: the Stop button is drawn over the panel's lower right corner, and
// inside the panel Label2 lies over Label1. The panel's labels are placed
// from the panel's corner.
constexpr ControlRow Design[] = {
    // name       container   kind                       caption         L     T     W     H     font     pt      text            background         align   flags
    {"Label3",   nullptr,    ControlKind::Label,         InitialLabel3, { 240, 2640,  615,  135}, nullptr, 0,      Colour::Toolkit, Colour::Toolkit,   0,      Hidden},
    {"Picture1", nullptr,    ControlKind::Panel,         nullptr,       { 360,  240, 3615, 2175}, nullptr, 0,      Colour::Toolkit, Colour::LightGrey, 0,      NoFlags, "Progress"},
    {"Label1",   "Picture1", ControlKind::Label,         InitialLabel1, { 480,  240, 2775,  735}, "Arial", 24.75,  Colour::Blue,    Colour::LightGrey, Centre, Bold},
    {"Label2",   "Picture1", ControlKind::Label,         InitialLabel2, {   0, 1200, 3615,  375}, "Arial", 11.25,  Colour::Red,     Colour::LightGrey, Centre, Bold},
    {"Command1", nullptr,    ControlKind::CommandButton, "Stop",        {2760, 2160, 1335,  495}, nullptr, 0,      Colour::Toolkit, Colour::Toolkit,   0,      NoFlags},
};

} // namespace

EzFonCnt::EzFonCnt(Runtime &runtime, QWidget *parent)
    // A tool window: a small title bar with no close box, window menu,
    // minimise or maximise button, and no button in the task bar.
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_runtime(runtime)
{
    setObjectName(QStringLiteral("EzFonCnt"));
    setFont(designFont("MS Sans Serif", 8.25, true));
    QPalette background = palette();
    background.setColor(QPalette::Window, colourOf(Colour::LightGrey));
    background.setColor(QPalette::WindowText, colourOf(Colour::Black));
    setPalette(background);
    setAutoFillBackground(true);

    const qreal dpi = logicalScreenDpi();
    const auto controls = buildControls(this, Design, dpi);
    m_picture1 = qobject_cast<QFrame *>(controls.value("Picture1"));
    m_label1 = qobject_cast<QLabel *>(controls.value("Label1"));
    m_label2 = qobject_cast<QLabel *>(controls.value("Label2"));
    m_label3 = qobject_cast<QLabel *>(controls.value("Label3"));
    m_command1 = qobject_cast<QPushButton *>(controls.value("Command1"));
    setTabOrder(m_picture1, m_command1);
    // Font names are shown as the printer reports them, even when they look
    // like markup.
    for (QLabel *label : {m_label1, m_label2, m_label3})
        label->setTextFormat(Qt::PlainText);
    // The count line and the name line have no accessible name of their
    // own: a screen reader reads what they show, and QLabel tells it of
    // every new text. What they are goes into their descriptions.
    m_label1->setAccessibleDescription(QString::fromLatin1(CountLineDescription));
    m_label2->setAccessibleDescription(QString::fromLatin1(NameLineDescription));

    const QRect client = twipsToPixels(ClientArea, dpi);
    setGeometry(client);
    setFixedSize(client.size());
    resetTexts();

    connect(m_command1, &QPushButton::clicked, this, &EzFonCnt::onCommand1Clicked);
}

EzFonCnt::~EzFonCnt() = default;

QString EzFonCnt::countLine(int index, int last)
{
    return QString::number(index) + QLatin1String(" / ") + QString::number(last);
}

void EzFonCnt::resetTexts()
{
    setWindowTitle(QString::fromLatin1(ReadingCaption));
    m_label1->setText(QString::fromLatin1(InitialLabel1));
    m_label2->setText(QString::fromLatin1(InitialLabel2));
    m_label3->setText(QString::fromLatin1(InitialLabel3));
}

void EzFonCnt::open()
{
    if (isVisible()) {
        raise();
        return;
    }
    resetTexts();
    markAsToolWindow(this);
    show();
}

void EzFonCnt::closeWindow()
{
    hide();
}

QString EzFonCnt::caption() const
{
    return windowTitle();
}

void EzFonCnt::setCaption(const QString &caption)
{
    setWindowTitle(caption);
}

void EzFonCnt::repaintLabel(QLabel *label)
{
    label->repaint();
}

void EzFonCnt::repaintWindow()
{
    repaint();
}

void EzFonCnt::onCommand1Clicked()
{
    // While fonts are read there is nothing to go back to: Stop ends the
    // program. While printing it asks the printing routine to stop at its
    // next look at the flag.
    if (caption() != QLatin1String(PrintingCaption)) {
        m_runtime.endProgram();
        return;
    }
    m_label3->setText(QString::fromLatin1(StopRequest));
    closeWindow();
}
