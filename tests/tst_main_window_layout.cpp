// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The main window as first shown: every control's place, font and colours,
// the stacking and tab order, and how the standard controls behave.

#include "design_backgrounds.h"
#include "fonts/font_catalogue.h"
#include "fonts/process_font_state.h"
#include "design_face.h"
#include "find_control.h"
#include "fake_printer.h"
#include "fake_runtime.h"
#include "fake_screen.h"
#include "ui/list_box.h"
#include "main_window/main_window.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

class tst_MainWindowLayout : public QObject
{
    Q_OBJECT

    // The installed fonts, read as the program reads them at start.
    ProcessFontState m_fontState;
    FontCatalogue m_fonts{m_fontState};

private Q_SLOTS:
    void init();
    void cleanup();

    void window();
    void controlPlaceAndFont_data();
    void controlPlaceAndFont();
    void colours();
    void initialState();
    void stackingOrder();
    void tabOrder_data();
    void tabOrder();
    void optionsFormOneGroup();
    void enterAndEscapeClickNoButton();
    void fontListClicks_data();
    void fontListClicks();
    void sizeListsKeepOneSize_data();
    void sizeListsKeepOneSize();
    void sortOrder_data();
    void sortOrder();
    void icon();

private:
    QWidget *control(const char *name) const;

    FakePrinter m_printer;
    FakeScreen m_screen;
    FakeRuntime m_runtime;
    MainWindow *m_mainWindow = nullptr;
};

void tst_MainWindowLayout::init()
{
    m_mainWindow = new MainWindow(m_fonts, m_printer, m_screen, m_runtime);
}

void tst_MainWindowLayout::cleanup()
{
    delete m_mainWindow;
    m_mainWindow = nullptr;
    // Every window a test made is gone again.
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

QWidget *tst_MainWindowLayout::control(const char *name) const
{
    return m_mainWindow->findChild<QWidget *>(QString::fromLatin1(name));
}

void tst_MainWindowLayout::window()
{
    QCOMPARE(m_mainWindow->windowTitle(), QStringLiteral("Glyphora"));
    // 5685 x 6660 twips at (1170, 450), 15 twips to the pixel at 96 DPI.
    QCOMPARE(m_mainWindow->geometry(), QRect(78, 30, 379, 444));
    QCOMPARE(m_mainWindow->minimumSize(), QSize(379, 444));
    QCOMPARE(m_mainWindow->maximumSize(), QSize(379, 444));

    const Qt::WindowFlags flags = m_mainWindow->windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(flags & Qt::WindowSystemMenuHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(!m_mainWindow->windowIcon().isNull());
}

void tst_MainWindowLayout::controlPlaceAndFont_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QString>("family");
    QTest::addColumn<double>("points");

    const QString arial = QStringLiteral("Arial");
    QTest::newRow("titleLabel") << "titleLabel" << QRect(1560, 0, 2655, 615) << arial << 24.0;
    QTest::newRow("fontListLabel") << "fontListLabel" << QRect(120, 840, 2775, 255) << arial << 9.75;
    QTest::newRow("fontList") << "fontList" << QRect(120, 1200, 3015, 2985) << arial << 9.0;
    QTest::newRow("selectAllButton") << "selectAllButton" << QRect(3240, 1200, 1335, 495) << arial << 9.0;
    QTest::newRow("deselectAllButton") << "deselectAllButton" << QRect(3240, 1800, 1335, 495) << arial << 9.0;
    QTest::newRow("printButton") << "printButton" << QRect(3240, 2400, 1335, 495) << arial << 9.0;
    QTest::newRow("exitButton") << "exitButton" << QRect(3240, 3600, 1335, 495) << arial << 9.0;
    QTest::newRow("printSizeLabel") << "printSizeLabel" << QRect(4680, 960, 975, 255) << arial << 9.75;
    QTest::newRow("printSizeList") << "printSizeList" << QRect(5040, 1320, 375, 1410) << arial << 9.0;
    QTest::newRow("displaySizeLabel") << "displaySizeLabel" << QRect(4680, 2880, 975, 255) << arial << 9.75;
    QTest::newRow("displaySizeList") << "displaySizeList" << QRect(5040, 3240, 375, 1410) << arial << 9.0;
    QTest::newRow("sampleLine") << "sampleLine" << QRect(120, 4320, 5175, 975)
                            << QStringLiteral("Times New Roman") << 24.0;
    QTest::newRow("fontNameOption") << "fontNameOption" << QRect(120, 5280, 4575, 375) << arial << 9.0;
    QTest::newRow("userTextOption") << "userTextOption" << QRect(120, 5640, 4455, 375) << arial << 9.0;
    QTest::newRow("userTextBox") << "userTextBox" << QRect(840, 6120, 4575, 375) << arial << 9.0;
}

void tst_MainWindowLayout::controlPlaceAndFont()
{
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    QFETCH(QString, family);
    QFETCH(double, points);

    QWidget *widget = control(qPrintable(name));
    QVERIFY(widget);
    const QRect pixels(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15);
    QCOMPARE(widget->geometry(), pixels);

    verifyDesignFace(widget->font(), family, points, name == QLatin1String("sampleLine"));
    if (QTest::currentTestFailed())
        return;
}

void tst_MainWindowLayout::colours()
{
    const QColor lightGrey(192, 192, 192);
    QCOMPARE(m_mainWindow->palette().color(QPalette::Window), lightGrey);
    QVERIFY(m_mainWindow->autoFillBackground());

    QCOMPARE(::control<QLabel>(*m_mainWindow, "titleLabel")->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QCOMPARE(::control<QLabel>(*m_mainWindow, "titleLabel")->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    QCOMPARE(::control<QLabel>(*m_mainWindow, "printSizeLabel")->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    QCOMPARE(::control<QLabel>(*m_mainWindow, "printSizeLabel")->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    QCOMPARE(::control<QLabel>(*m_mainWindow, "displaySizeLabel")->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    QCOMPARE(::control<QLabel>(*m_mainWindow, "displaySizeLabel")->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    QCOMPARE(::control<QLabel>(*m_mainWindow, "fontListLabel")->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    QCOMPARE(::control<QLabel>(*m_mainWindow, "sampleLine")->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    QCOMPARE(::control<QLabel>(*m_mainWindow, "sampleLine")->palette().color(QPalette::Window), lightGrey);
    QCOMPARE(::control<QPushButton>(*m_mainWindow, "printButton")->palette().color(QPalette::Button), lightGrey);
    QCOMPARE(::control<QPushButton>(*m_mainWindow, "exitButton")->palette().color(QPalette::Button),
             QApplication::palette().color(QPalette::Base));
    verifyBackgroundsAsDesigned(m_mainWindow);
}

void tst_MainWindowLayout::initialState()
{
    const auto widgets = m_mainWindow->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    QCOMPARE(widgets.size(), 15);
    for (const QWidget *widget : widgets) {
        QVERIFY2(!widget->isHidden(), qPrintable(widget->objectName()));
        QCOMPARE(widget->isEnabled(), widget != ::control<QLineEdit>(*m_mainWindow, "userTextBox"));
    }

    QCOMPARE(::control<QLabel>(*m_mainWindow, "sampleLine")->text(), QStringLiteral("Sample"));
    QVERIFY(::control<QRadioButton>(*m_mainWindow, "fontNameOption")->isChecked());
    QVERIFY(!::control<QRadioButton>(*m_mainWindow, "userTextOption")->isChecked());
    QVERIFY(::control<QLineEdit>(*m_mainWindow, "userTextBox")->text().isEmpty());
    QCOMPARE(::control<ListBox>(*m_mainWindow, "fontList")->count(), 0);
    QCOMPARE(::control<ListBox>(*m_mainWindow, "fontList")->selectionMode(), QAbstractItemView::ExtendedSelection);
    QVERIFY(::control<ListBox>(*m_mainWindow, "fontList")->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff);
    QCOMPARE(::control<ListBox>(*m_mainWindow, "printSizeList")->selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(::control<ListBox>(*m_mainWindow, "displaySizeList")->selectionMode(), QAbstractItemView::SingleSelection);

    for (QPushButton *button : m_mainWindow->findChildren<QPushButton *>()) {
        QVERIFY(!button->isDefault());
        QVERIFY(!button->autoDefault());
        QVERIFY2(!button->text().contains(QLatin1Char('&')), "no access keys");
    }
}

void tst_MainWindowLayout::stackingOrder()
{
    // Qt stacks siblings in the order of the parent's children, last on top.
    const QStringList topFirst = {
        "userTextBox",    "userTextOption",  "fontNameOption", "displaySizeList",  "deselectAllButton", "selectAllButton", "fontList", "printSizeList",
        "exitButton", "printButton", "displaySizeLabel",  "fontListLabel", "printSizeLabel",   "sampleLine",   "titleLabel"};
    QStringList bottomFirst;
    for (const QObject *child : m_mainWindow->children()) {
        if (child->isWidgetType())
            bottomFirst.prepend(child->objectName());
    }
    QCOMPARE(bottomFirst, topFirst);

    // Two overlaps follow from the places: displaySizeList over the sample line's right
    // end, and fontNameOption over its lowest pixel row.
    QVERIFY(::control<ListBox>(*m_mainWindow, "displaySizeList")->geometry().intersects(::control<QLabel>(*m_mainWindow, "sampleLine")->geometry()));
    QVERIFY(::control<QRadioButton>(*m_mainWindow, "fontNameOption")->geometry().intersects(::control<QLabel>(*m_mainWindow, "sampleLine")->geometry()));
    QCOMPARE(m_mainWindow->childAt(::control<ListBox>(*m_mainWindow, "displaySizeList")->geometry().topLeft() + QPoint(2, 2)),
             ::control<ListBox>(*m_mainWindow, "displaySizeList")->viewport());
}

void tst_MainWindowLayout::tabOrder_data()
{
    QTest::addColumn<bool>("userText");
    QTest::addColumn<QStringList>("order");

    // The option group is one stop: Tab reaches its chosen button only.
    QTest::newRow("font name, userTextBox disabled")
        << false
        << QStringList{"selectAllButton", "deselectAllButton", "printButton", "exitButton", "fontList",
                       "printSizeList",    "displaySizeList",    "fontNameOption",  "selectAllButton"};
    QTest::newRow("user text, userTextBox enabled")
        << true
        << QStringList{"selectAllButton", "deselectAllButton", "printButton", "exitButton", "fontList",
                       "printSizeList",    "displaySizeList",    "userTextOption",  "userTextBox",    "selectAllButton"};
}

void tst_MainWindowLayout::tabOrder()
{
    QFETCH(bool, userText);
    QFETCH(QStringList, order);

    if (userText) {
        ::control<QRadioButton>(*m_mainWindow, "userTextOption")->setChecked(true);
        ::control<QLineEdit>(*m_mainWindow, "userTextBox")->setEnabled(true);
    }
    m_mainWindow->show();
    m_mainWindow->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_mainWindow));
    ::control<QPushButton>(*m_mainWindow, "selectAllButton")->setFocus(Qt::TabFocusReason);

    QStringList visited{QApplication::focusWidget()->objectName()};
    for (int i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.append(QApplication::focusWidget()->objectName());
    }
    QCOMPARE(visited, order);
}

void tst_MainWindowLayout::optionsFormOneGroup()
{
    m_mainWindow->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_mainWindow));
    QRadioButton *fontNameOption = ::control<QRadioButton>(*m_mainWindow, "fontNameOption");
    QRadioButton *userTextOption = ::control<QRadioButton>(*m_mainWindow, "userTextOption");

    QTest::mouseClick(userTextOption, Qt::LeftButton, {}, QPoint(8, userTextOption->height() / 2));
    QVERIFY(userTextOption->isChecked());
    QVERIFY(!fontNameOption->isChecked());
    QTest::mouseClick(fontNameOption, Qt::LeftButton, {}, QPoint(8, fontNameOption->height() / 2));
    QVERIFY(fontNameOption->isChecked());
    QVERIFY(!userTextOption->isChecked());
    // Clicking the chosen one again leaves it chosen: never neither.
    QTest::mouseClick(fontNameOption, Qt::LeftButton, {}, QPoint(8, fontNameOption->height() / 2));
    QVERIFY(fontNameOption->isChecked());

    // Inside the group the arrow keys move the choice.
    m_mainWindow->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_mainWindow));
    fontNameOption->setFocus(Qt::TabFocusReason);
    QTest::keyClick(fontNameOption, Qt::Key_Down);
    QVERIFY(userTextOption->isChecked());
    QCOMPARE(QApplication::focusWidget(), userTextOption);
    QTest::keyClick(userTextOption, Qt::Key_Up);
    QVERIFY(fontNameOption->isChecked());
}

void tst_MainWindowLayout::enterAndEscapeClickNoButton()
{
    ::control<ListBox>(*m_mainWindow, "fontList")->addItem(QStringLiteral("Arial"));
    m_mainWindow->show();
    m_mainWindow->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_mainWindow));

    QList<QSignalSpy *> spies;
    const auto buttons = m_mainWindow->findChildren<QPushButton *>();
    for (QPushButton *button : buttons)
        spies.append(new QSignalSpy(button, &QPushButton::clicked));

    for (QWidget *focus : {static_cast<QWidget *>(::control<ListBox>(*m_mainWindow, "fontList")),
                           static_cast<QWidget *>(::control<QRadioButton>(*m_mainWindow, "fontNameOption"))}) {
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_Return);
        QTest::keyClick(focus, Qt::Key_Enter);
        QTest::keyClick(focus, Qt::Key_Escape);
    }
    for (QSignalSpy *spy : spies)
        QCOMPARE(spy->count(), 0);
    qDeleteAll(spies);
    QVERIFY(m_mainWindow->isVisible());
}

void tst_MainWindowLayout::fontListClicks_data()
{
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QList<int>>("modifiers");
    QTest::addColumn<QList<int>>("selected");

    const int none = Qt::NoModifier;
    const int ctrl = Qt::ControlModifier;
    const int shift = Qt::ShiftModifier;
    QTest::newRow("plain click") << QList<int>{1} << QList<int>{none} << QList<int>{1};
    QTest::newRow("plain click replaces") << QList<int>{1, 3} << QList<int>{none, none}
                                          << QList<int>{3};
    QTest::newRow("ctrl-click adds") << QList<int>{1, 3} << QList<int>{none, ctrl}
                                     << QList<int>{1, 3};
    QTest::newRow("ctrl-click takes out only that one")
        << QList<int>{0, 2, 4, 2} << QList<int>{none, ctrl, ctrl, ctrl} << QList<int>{0, 4};
    QTest::newRow("shift-click selects the range") << QList<int>{1, 4} << QList<int>{none, shift}
                                                   << QList<int>{1, 2, 3, 4};
    QTest::newRow("plain click after a range") << QList<int>{0, 4, 2}
                                               << QList<int>{none, shift, none} << QList<int>{2};
}

void tst_MainWindowLayout::fontListClicks()
{
    QFETCH(QList<int>, rows);
    QFETCH(QList<int>, modifiers);
    QFETCH(QList<int>, selected);

    ListBox *list = ::control<ListBox>(*m_mainWindow, "fontList");
    for (const char *name : {"Alpha", "Bravo", "Charlie", "Delta", "Echo"})
        list->addItem(QString::fromLatin1(name));
    m_mainWindow->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_mainWindow));

    for (int i = 0; i < rows.size(); ++i) {
        const QRect rect = list->visualRect(list->model()->index(rows[i], 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton,
                          Qt::KeyboardModifiers(modifiers[i]), rect.center());
    }
    QList<int> actual;
    for (int row = 0; row < list->count(); ++row) {
        if (list->isSelected(row))
            actual.append(row);
    }
    QCOMPARE(actual, selected);
    QCOMPARE(list->selectedCount(), selected.size());
    QCOMPARE(list->currentText(), list->text(rows.last()));
}

void tst_MainWindowLayout::sizeListsKeepOneSize_data()
{
    // Steps: "14" clicks the entry, "^14" Ctrl-clicks it, "key:^Space" and
    // "key:^Up" press keys in the list.
    QTest::addColumn<bool>("displaySizes");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("size");

    for (const bool display : {false, true}) {
        const QString list = display ? "display sizes: " : "print sizes: ";
        const QString selected = display ? "24" : "12"; // selected at start
        const QString other = display ? "18" : "16";
        const QString above = display ? "22" : "10";
        QTest::newRow(qPrintable(list + "Ctrl-click on the selected entry"))
            << display << QStringList{"^" + selected} << selected;
        QTest::newRow(qPrintable(list + "Ctrl+Space on the selected entry"))
            << display << QStringList{selected, "key:^Space"} << selected;
        QTest::newRow(qPrintable(list + "Ctrl-click twice on another entry"))
            << display << QStringList{"^" + other, "^" + other} << other;
        QTest::newRow(qPrintable(list + "Ctrl+Up moves the size"))
            << display << QStringList{selected, "key:^Up"} << above;
    }
}

void tst_MainWindowLayout::sizeListsKeepOneSize()
{
    QFETCH(bool, displaySizes);
    QFETCH(QStringList, steps);
    QFETCH(QString, size);

    // A size list always has exactly one selected entry, and it is the
    // current entry, which the sample line and printing read.
    m_mainWindow->load();
    QVERIFY(QTest::qWaitForWindowExposed(m_mainWindow));
    ListBox *list = displaySizes ? ::control<ListBox>(*m_mainWindow, "displaySizeList") : ::control<ListBox>(*m_mainWindow, "printSizeList");
    const auto rowOf = [list](const QString &text) {
        for (int row = 0; row < list->count(); ++row) {
            if (list->text(row) == text)
                return row;
        }
        return -1;
    };
    for (QString step : steps) {
        if (step == QLatin1String("key:^Space") || step == QLatin1String("key:^Up")) {
            QTest::keyClick(list, step.endsWith(QLatin1String("Up")) ? Qt::Key_Up : Qt::Key_Space,
                            Qt::ControlModifier);
            continue;
        }
        const bool ctrl = step.startsWith(QLatin1Char('^'));
        const QRect rect = list->visualRect(list->model()->index(rowOf(step.remove('^')), 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton,
                          ctrl ? Qt::ControlModifier : Qt::NoModifier, rect.center());
    }
    QCOMPARE(list->selectedCount(), 1);
    QVERIFY(list->isSelected(rowOf(size)));
    QCOMPARE(list->currentText(), size);
    if (displaySizes)
        QCOMPARE(::control<QLabel>(*m_mainWindow, "sampleLine")->font().pointSizeF(), size.toDouble());
}

void tst_MainWindowLayout::sortOrder_data()
{
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<QStringList>("listed");

    QTest::newRow("case does not order")
        << QStringList{"Zapf", "abc", "Bodoni", "arial"}
        << QStringList{"abc", "arial", "Bodoni", "Zapf"};
    QTest::newRow("accents sit with their letter")
        << QStringList{"Zurich", "Émigré", "Eagle", "ébauche", "Emma"}
        << QStringList{"Eagle", "ébauche", "Émigré", "Emma", "Zurich"};
    QTest::newRow("equal names keep the order they came in")
        << QStringList{"Times", "Arial", "ARIAL", "Arial", "arial"}
        << QStringList{"Arial", "ARIAL", "Arial", "arial", "Times"};
    QTest::newRow("digits and blanks")
        << QStringList{"Nimbus Sans", "Nimbus Mono PS", "C059", "Z003", "D050000L"}
        << QStringList{"C059", "D050000L", "Nimbus Mono PS", "Nimbus Sans", "Z003"};
}

void tst_MainWindowLayout::sortOrder()
{
    QFETCH(QStringList, added);
    QFETCH(QStringList, listed);

    ListBox *list = ::control<ListBox>(*m_mainWindow, "fontList");
    for (const QString &name : added)
        list->addItem(name);
    QStringList actual;
    for (int row = 0; row < list->count(); ++row)
        actual.append(list->text(row));
    QCOMPARE(actual, listed);
}

void tst_MainWindowLayout::icon()
{
    const QIcon icon = m_mainWindow->windowIcon();
    const QList<QSize> sizes = icon.availableSizes();
    QVERIFY(sizes.contains(QSize(16, 16)));
    QVERIFY(sizes.contains(QSize(32, 32)));

    const QImage image = icon.pixmap(QSize(32, 32)).toImage();
    QCOMPARE(image.size(), QSize(32, 32));
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);              // transparent outside the disc
    QCOMPARE(image.pixelColor(6, 16), QColor(0, 0, 128)); // the disc
    QCOMPARE(image.pixelColor(16, 18), QColor(Qt::white)); // the stem of the i
    QCOMPARE(image.pixelColor(16, 1), QColor(Qt::black));  // the rim
}

QTEST_MAIN(tst_MainWindowLayout)
#include "tst_main_window_layout.moc"
