// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The program's texts in the user's language. The same test runs twice:
// under LANG=de_DE.UTF-8, where every text on screen, in a message and on
// paper is German, and under the C locale, where every text is today's
// English, byte for byte. Values the program keeps for itself (the settings
// entry, the stop request) are the same in both.

#include "find_control.h"
#include "fonts/font_catalogue.h"
#include "fonts/process_font_state.h"
#include "fake_printer.h"
#include "fake_runtime.h"
#include "fake_screen.h"
#include "desktop/translations.h"
#include "main_window/main_window.h"
#include "progress_window/progress_window.h"
#include "ui/list_box.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <functional>

namespace {

// What the test expects, set by the test's command: "de" or "C".
bool expectGerman()
{
    return qgetenv("GLYPHORA_TEST_LANGUAGE") == "de";
}

const QString Date = QStringLiteral("12/9/26");
const QString SettingPath = FakeRuntime::settingPath("Glyphora", "User Text", "Text");

using Text = std::function<QString(MainWindow &)>;

} // namespace

class tst_Translations : public QObject
{
    Q_OBJECT

    // The installed fonts, read as the program reads them at start.
    ProcessFontState m_fontState;
    FontCatalogue m_fonts{m_fontState};

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void windowTexts_data();
    void windowTexts();
    void messagesAndPaper();
    void notification();
    void valuesKeptForItself();

private:
    FakePrinter m_printer;
    FakeScreen m_screen;
    FakeRuntime m_runtime;
    MainWindow *m_mainWindow = nullptr;
};

void tst_Translations::initTestCase()
{
    // The locale comes from the environment as the user's session sets it.
    if (expectGerman())
        QCOMPARE(QLocale().language(), QLocale::German);
    installTranslations();
}

void tst_Translations::init()
{
    m_printer = FakePrinter();
    m_printer.fontList = {QStringLiteral("Arial"), QStringLiteral("Courier New")};
    m_screen = FakeScreen();
    m_runtime = FakeRuntime();
    m_runtime.date = Date;
    m_mainWindow = new MainWindow(m_fonts, m_printer, m_screen, m_runtime);
    m_mainWindow->load();
}

void tst_Translations::cleanup()
{
    delete m_mainWindow;
    m_mainWindow = nullptr;
    QCOMPARE(QApplication::topLevelWidgets(), QWidgetList());
}

void tst_Translations::windowTexts_data()
{
    QTest::addColumn<Text>("text");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("german");

    auto row = [](const char *name, Text text, const char *english, const char *german) {
        QTest::newRow(name) << text << QString::fromUtf8(english) << QString::fromUtf8(german);
    };
    row("window title", [](MainWindow &w) { return w.windowTitle(); }, "Glyphora", "Glyphora");
    row("title", [](MainWindow &w) { return control<QLabel>(w, "titleLabel")->text(); }, "Glyphora", "Glyphora");
    row("font list heading", [](MainWindow &w) { return control<QLabel>(w, "fontListLabel")->text(); },
        "All Available Fonts", "Verfügbare Schriften");
    row("font list's spoken name", [](MainWindow &w) { return control<ListBox>(w, "fontList")->accessibleName(); },
        "All Available Fonts", "Verfügbare Schriften");
    row("print size heading", [](MainWindow &w) { return control<QLabel>(w, "printSizeLabel")->text(); }, "Print Size",
        "Druck");
    row("display size heading", [](MainWindow &w) { return control<QLabel>(w, "displaySizeLabel")->text(); }, "Display",
        "Anzeige");
    row("Select All", [](MainWindow &w) { return control<QPushButton>(w, "selectAllButton")->text(); }, "Select All",
        "Alle wählen");
    row("Deselect All", [](MainWindow &w) { return control<QPushButton>(w, "deselectAllButton")->text(); }, "Deselect All",
        "Keine wählen");
    row("Print Fonts", [](MainWindow &w) { return control<QPushButton>(w, "printButton")->text(); }, "Print Fonts", "Drucken");
    row("Exit", [](MainWindow &w) { return control<QPushButton>(w, "exitButton")->text(); }, "Exit", "Beenden");
    row("font name option", [](MainWindow &w) { return control<QRadioButton>(w, "fontNameOption")->text(); },
        "Use Font Name as Sample Text", "Schriftname als Mustertext verwenden");
    row("user text option", [](MainWindow &w) { return control<QRadioButton>(w, "userTextOption")->text(); },
        "Use User Defined Text as Sample Text", "Eigenen Text als Mustertext verwenden");
    row("user text's spoken name", [](MainWindow &w) { return control<QLineEdit>(w, "userTextBox")->accessibleName(); },
        "User Defined Text", "Eigener Text");
    row("sample line", [](MainWindow &w) { return control<QLabel>(w, "sampleLine")->text(); }, "Sample", "Muster");
    row("sample of a printer-only font",
        [](MainWindow &w) {
            ListBox *list = control<ListBox>(w, "fontList");
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualRect(list->model()->index(0, 0)).center());
            return control<QLabel>(w, "sampleLine")->text();
        },
        "Printer Only Font", "Nur Druckerschrift");
    row("progress window, reading",
        [](MainWindow &w) {
            w.progressWindow().open();
            return w.progressWindow().windowTitle();
        },
        "Reading Fonts", "Schriften werden gelesen");
    row("progress window's count line", [](MainWindow &w) {
            w.progressWindow().open();
            return control<QLabel>(w.progressWindow(), "countLine")->text();
        },
        "Font Count", "Anzahl");
    row("progress window's name line", [](MainWindow &w) {
            w.progressWindow().open();
            return control<QLabel>(w.progressWindow(), "nameLine")->text();
        },
        "Font Name", "Schriftname");
    row("Stop", [](MainWindow &w) { return control<QPushButton>(w.progressWindow(), "stopButton")->text(); }, "Stop", "Stopp");
}

void tst_Translations::windowTexts()
{
    QFETCH(Text, text);
    QFETCH(QString, english);
    QFETCH(QString, german);
    // The screen draws no face called Arial here, so a click on it shows
    // the printer-only text.
    m_screen.printerOnly = {QStringLiteral("Arial")};
    QCOMPARE(text(*m_mainWindow), expectGerman() ? german : english);
    m_mainWindow->progressWindow().closeWindow();
}

void tst_Translations::messagesAndPaper()
{
    // Nothing selected: the message and its title.
    control<QPushButton>(*m_mainWindow, "printButton")->click();
    QCOMPARE(m_runtime.messages.size(), 1);
    QCOMPARE(m_runtime.messages.first().text,
             expectGerman() ? QStringLiteral("Sie müssen vor dem Drucken mindestens eine Schrift auswählen. Um mehr "
                                             "als eine Schrift auszuwählen, können Sie die Strg-Taste verwenden.")
                            : QStringLiteral("You must select at least one font before printing.  To select more "
                                             "than one font you can use the CTRL key."));
    QCOMPARE(m_runtime.messages.first().title, expectGerman() ? QStringLiteral("Fehler") : QStringLiteral("Error"));

    // A sheet: the progress window while it prints, and the heading on
    // paper.
    control<ListBox>(*m_mainWindow, "fontList")->setSelected(1, true);
    QString title;
    QStringList notes;
    m_printer.waitsInFinish = 1;
    m_runtime.onPump = [&](int) {
        title = m_mainWindow->progressWindow().windowTitle();
        notes.append(control<QLabel>(m_mainWindow->progressWindow(), "nameLine")->text());
    };
    control<QPushButton>(*m_mainWindow, "printButton")->click();
    m_printer.waitsInFinish = 0;
    QCOMPARE(title, expectGerman() ? QStringLiteral("Schriften werden gedruckt") : QStringLiteral("Printing Fonts"));
    QCOMPARE(notes.first(), expectGerman() ? QStringLiteral("Schriften im Druck: 1")
                                           : QStringLiteral("Printing the 1 fonts you selected."));
    QCOMPARE(notes.last(), expectGerman() ? QStringLiteral("Schriftmusterblatt wird fertiggestellt … 0 %")
                                          : QStringLiteral("Finishing the sheet… 0%"));
    QVERIFY(!m_printer.printedLines.isEmpty());
    QVERIFY(m_printer.printedLines.contains(
        (expectGerman() ? QStringLiteral("Glyphora-Schriftmusterblatt ") : QStringLiteral("Glyphora Font Sheet "))
        + Date + QChar(13)));
    // The font's own name is never translated.
    QVERIFY(m_printer.printedLines.contains(QStringLiteral("(Courier New)")));

    // A failure from the first selected font on.
    m_runtime.messages.clear();
    m_printer.unprintable = {QStringLiteral("Courier New")};
    control<QPushButton>(*m_mainWindow, "printButton")->click();
    QCOMPARE(m_runtime.messages.size(), 1);
    QCOMPARE(m_runtime.messages.first().text,
             expectGerman() ? QStringLiteral("Ein Fehler ist aufgetreten. Bitte benachrichtigen Sie den Autor.")
                            : QStringLiteral("An Error has occured.  Please notify the author."));
}

void tst_Translations::notification()
{
    QCOMPARE(QCoreApplication::translate("DesktopNotifier", "Font sheet saved"),
             expectGerman() ? QStringLiteral("Schriftmusterblatt gespeichert") : QStringLiteral("Font sheet saved"));
    QCOMPARE(QCoreApplication::translate("DesktopNotifier", "Open"),
             expectGerman() ? QStringLiteral("Öffnen") : QStringLiteral("Open"));
}

void tst_Translations::valuesKeptForItself()
{
    // Stop while printing stops the run, whatever the window's title says.
    for (const QString &font : {QStringLiteral("Helvetica"), QStringLiteral("Times")})
        control<ListBox>(*m_mainWindow, "fontList")->addItem(font);
    for (int row = 0; row < control<ListBox>(*m_mainWindow, "fontList")->count(); ++row)
        control<ListBox>(*m_mainWindow, "fontList")->setSelected(row, true);
    m_runtime.pumps = 0;
    m_runtime.onPump = [&](int pump) {
        if (pump == 1)
            control<QPushButton>(m_mainWindow->progressWindow(), "stopButton")->click();
    };
    control<QPushButton>(*m_mainWindow, "printButton")->click();
    QCOMPARE(m_runtime.endProgramCalls, 0);
    QVERIFY(!m_printer.printedLines.contains(QStringLiteral("(Arial)")));

    // The sample text is stored under the program's own names.
    m_runtime.onPump = nullptr;
    control<QLineEdit>(*m_mainWindow, "userTextBox")->setText(QStringLiteral("Mustertext"));
    control<QPushButton>(*m_mainWindow, "exitButton")->click();
    QCOMPARE(m_runtime.settings.value(SettingPath), QStringLiteral("Mustertext"));
    QCOMPARE(m_runtime.settings.size(), 1);
}

QTEST_MAIN(tst_Translations)
#include "tst_translations.moc"
