#pragma once

#include "progress_window/ez_fon_cnt.h"

#include <QWidget>

class ListBox;
class Printer;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class Runtime;
class Screen;

// The main window: the font catalogue, the print and display sizes, the
// sample line and the commands.
class Pressel : public QWidget
{
    Q_OBJECT

public:
    static constexpr const char *Title = "Glyphora";
    // The one settings entry: the user's sample text.
    static constexpr const char *SettingsApplication = "Glyphora";
    static constexpr const char *SettingsSection = "User Text";
    static constexpr const char *SettingsKey = "Text";

    Pressel(Printer &printer, Screen &screen, Runtime &runtime, QWidget *parent = nullptr);
    ~Pressel() override;

    // The window's load handling: fills the size lists, reads the printer's
    // fonts into List1 while EzFonCnt counts them, shows the window with the
    // default sizes selected and restores the user's sample text.
    void load();

    // The controls, by the names the handlers use.
    QLabel *label1() const { return m_label1; }
    QLabel *label2() const { return m_label2; }
    QLabel *label4() const { return m_label4; }
    QLabel *label5() const { return m_label5; }
    QLabel *label6() const { return m_label6; }
    ListBox *list1() const { return m_list1; }
    ListBox *list2() const { return m_list2; }
    ListBox *list3() const { return m_list3; }
    QPushButton *command1() const { return m_command1; }
    QPushButton *command2() const { return m_command2; }
    QPushButton *command3() const { return m_command3; }
    QPushButton *command4() const { return m_command4; }
    QRadioButton *option1() const { return m_option1; }
    QRadioButton *option2() const { return m_option2; }
    QLineEdit *text1() const { return m_text1; }
    EzFonCnt &ezFonCnt() { return m_ezFonCnt; }

protected:
    void closeEvent(QCloseEvent *event) override;

private Q_SLOTS:
    void onCommand1Clicked();
    void onCommand2Clicked();
    void onCommand3Clicked();
    void onCommand4Clicked();
    void onList1Clicked();
    void onList3Clicked();
    void onOption1Clicked();
    void onOption2Clicked();
    void onText1Changed();

private:
    void createControls();
    // Select All and Deselect All.
    void setEveryEntrySelected(bool selected);
    // List3's current entry as a number of points.
    double displayPoints() const;

    Printer &m_printer;
    Screen &m_screen;
    Runtime &m_runtime;
    EzFonCnt m_ezFonCnt;

    QLabel *m_label1 = nullptr;
    QLabel *m_label2 = nullptr;
    QLabel *m_label4 = nullptr;
    QLabel *m_label5 = nullptr;
    QLabel *m_label6 = nullptr;
    ListBox *m_list1 = nullptr;
    ListBox *m_list2 = nullptr;
    ListBox *m_list3 = nullptr;
    QPushButton *m_command1 = nullptr;
    QPushButton *m_command2 = nullptr;
    QPushButton *m_command3 = nullptr;
    QPushButton *m_command4 = nullptr;
    QRadioButton *m_option1 = nullptr;
    QRadioButton *m_option2 = nullptr;
    QLineEdit *m_text1 = nullptr;

    // True while Print Fonts runs.
    bool m_printing = false;
};
