// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "desktop/program_name.h"
#include "font_sheet/font_sheet.h"
#include "progress_window/progress_window.h"

#include <QWidget>

#include <memory>

class FontCatalogue;
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
class MainWindow : public QWidget, private FontSheetSource
{
    Q_OBJECT

public:
    // The one settings entry: the user's sample text.
    static constexpr const char *SettingsApplication = ProgramName::Text;
    static constexpr const char *SettingsSection = "User Text";
    static constexpr const char *SettingsKey = "Text";

    // Every service must outlive the window.
    MainWindow(FontCatalogue &fonts, Printer &printer, Screen &screen, Runtime &runtime,
               QWidget *parent = nullptr);
    ~MainWindow() override;

    // The window's load handling: fills the size lists, reads the printer's
    // fonts into the font list while the progress window counts them, shows
    // the window with the default sizes selected and restores the user's
    // sample text.
    void load();

    // Print Fonts: prints a sheet of the selected fonts, unless a run is
    // going on already.
    void printFonts();

    // The progress window that this window drives while it reads and
    // prints the fonts: a window of its own, beside this one.
    ProgressWindow &progressWindow() { return m_progressWindow; }

protected:
    void closeEvent(QCloseEvent *event) override;

private Q_SLOTS:
    void onExitClicked();
    void onPrintClicked();
    void onSelectAllClicked();
    void onDeselectAllClicked();
    void onFontListClicked();
    void onDisplaySizeListClicked();
    void onFontNameOptionClicked();
    void onUserTextOptionClicked();
    void onUserTextChanged();
    // A face file faulted while it was drawn: the sample line goes on
    // showing its face only while that face is available.
    void onFacesFaulted();

private:
    void createControls();
    // Connects a control's signal to a handler through runHandler.
    template <typename Control, typename Signal>
    void connectHandler(Control *control, Signal signal, void (MainWindow::*handler)());
    // The boundary of every handler: a failure that no routine caught is
    // reported, and the program is put back as usable as it was before the
    // event.
    void runHandler(void (MainWindow::*handler)());
    // Select All and Deselect All.
    void setEveryEntrySelected(bool selected);
    // The display size list's current entry as a number of points.
    double displayPoints() const;
    // Shows the sample in font, with its faces set up at once.
    void setSampleFont(const QFont &font);
    // Where the face that the sample line shows, or the face of the current
    // entry, is no longer available, shows that instead and returns true.
    bool sampleFaceLost();
    // The not-available text in the caption face: only the face and the
    // caption change, as for a face that only the printer has.
    void showFontNotAvailable();

    // What a print run reads from this window.
    int entryCount() const override;
    QString entryText(int index) const override;
    bool isEntrySelected(int index) const override;
    int selectedEntryCount() const override;
    QString printSize() const override;
    bool fontNameChosen() const override;
    bool userTextChosen() const override;
    QString userText() const override;

    FontCatalogue &m_fonts;
    Printer &m_printer;
    Screen &m_screen;
    Runtime &m_runtime;
    ProgressWindow m_progressWindow;
    // The progress window as a print run drives it.
    std::unique_ptr<FontSheetProgress> m_sheetProgress;

    QLabel *m_titleLabel = nullptr;
    QLabel *m_sampleLine = nullptr;
    QLabel *m_printSizeLabel = nullptr;
    QLabel *m_fontListLabel = nullptr;
    QLabel *m_displaySizeLabel = nullptr;
    ListBox *m_fontList = nullptr;
    ListBox *m_printSizeList = nullptr;
    ListBox *m_displaySizeList = nullptr;
    QPushButton *m_exitButton = nullptr;
    QPushButton *m_printButton = nullptr;
    QPushButton *m_selectAllButton = nullptr;
    QPushButton *m_deselectAllButton = nullptr;
    QRadioButton *m_fontNameOption = nullptr;
    QRadioButton *m_userTextOption = nullptr;
    QLineEdit *m_userTextBox = nullptr;

    // True while Print Fonts runs.
    bool m_printing = false;
};
