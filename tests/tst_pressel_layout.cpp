// The main window as first shown: every control's place, font and colours,
// the stacking and tab order, and how the standard controls behave.

#include "fake_printer.h"
#include "fake_runtime.h"
#include "fake_screen.h"
#include "main_window/list_box.h"
#include "main_window/pressel.h"

#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

class tst_PresselLayout : public QObject
{
    Q_OBJECT

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
    void list1Clicks_data();
    void list1Clicks();
    void sortOrder_data();
    void sortOrder();
    void icon();

private:
    QWidget *control(const char *name) const;

    FakePrinter m_printer;
    FakeScreen m_screen;
    FakeRuntime m_runtime;
    Pressel *m_pressel = nullptr;
};

void tst_PresselLayout::init()
{
    m_pressel = new Pressel(m_printer, m_screen, m_runtime);
}

void tst_PresselLayout::cleanup()
{
    delete m_pressel;
    m_pressel = nullptr;
}

QWidget *tst_PresselLayout::control(const char *name) const
{
    return m_pressel->findChild<QWidget *>(QString::fromLatin1(name));
}

void tst_PresselLayout::window()
{
    QCOMPARE(m_pressel->windowTitle(), QStringLiteral("Glyphora"));
    // 5685 x 6660 twips at (1170, 450), 15 twips to the pixel at 96 DPI.
    QCOMPARE(m_pressel->geometry(), QRect(78, 30, 379, 444));
    QCOMPARE(m_pressel->minimumSize(), QSize(379, 444));
    QCOMPARE(m_pressel->maximumSize(), QSize(379, 444));

    const Qt::WindowFlags flags = m_pressel->windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(flags & Qt::WindowSystemMenuHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(!m_pressel->windowIcon().isNull());
}

void tst_PresselLayout::controlPlaceAndFont_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QString>("family");
    QTest::addColumn<double>("points");

    const QString arial = QStringLiteral("Arial");
    QTest::newRow("Label1") << "Label1" << QRect(1560, 0, 2655, 615) << arial << 24.0;
    QTest::newRow("Label5") << "Label5" << QRect(120, 840, 2775, 255) << arial << 9.75;
    QTest::newRow("List1") << "List1" << QRect(120, 1200, 3015, 2985) << arial << 9.0;
    QTest::newRow("Command3") << "Command3" << QRect(3240, 1200, 1335, 495) << arial << 9.0;
    QTest::newRow("Command4") << "Command4" << QRect(3240, 1800, 1335, 495) << arial << 9.0;
    QTest::newRow("Command2") << "Command2" << QRect(3240, 2400, 1335, 495) << arial << 9.0;
    QTest::newRow("Command1") << "Command1" << QRect(3240, 3600, 1335, 495) << arial << 9.0;
    QTest::newRow("Label4") << "Label4" << QRect(4680, 960, 975, 255) << arial << 9.75;
    QTest::newRow("List2") << "List2" << QRect(5040, 1320, 375, 1410) << arial << 9.0;
    QTest::newRow("Label6") << "Label6" << QRect(4680, 2880, 975, 255) << arial << 9.75;
    QTest::newRow("List3") << "List3" << QRect(5040, 3240, 375, 1410) << arial << 9.0;
    QTest::newRow("Label2") << "Label2" << QRect(120, 4320, 5175, 975)
                            << QStringLiteral("Times New Roman") << 24.0;
    QTest::newRow("Option1") << "Option1" << QRect(120, 5280, 4575, 375) << arial << 9.0;
    QTest::newRow("Option2") << "Option2" << QRect(120, 5640, 4455, 375) << arial << 9.0;
    QTest::newRow("Text1") << "Text1" << QRect(840, 6120, 4575, 375) << arial << 9.0;
}

void tst_PresselLayout::controlPlaceAndFont()
{
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    QFETCH(QString, family);
    QFETCH(double, points);

    QWidget *widget = control(qPrintable(name));
    QVERIFY(widget);
    const QRect pixels(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15);
    QCOMPARE(widget->geometry(), pixels);

    const QFont font = widget->font();
    QCOMPARE(font.family(), family);
    QCOMPARE(font.pointSizeF(), points);
    QVERIFY(font.bold());
    QVERIFY(!font.italic());
    // Where the design face is missing, a metric-compatible one draws it.
    const QString drawn = QFontInfo(font).family();
    QVERIFY2(drawn == family || drawn.startsWith(QLatin1String("Liberation")), qPrintable(drawn));
}

void tst_PresselLayout::colours()
{
    const QColor lightGrey(192, 192, 192);
    QCOMPARE(m_pressel->palette().color(QPalette::Window), lightGrey);
    QVERIFY(m_pressel->autoFillBackground());

    QCOMPARE(m_pressel->label1()->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QCOMPARE(m_pressel->label1()->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    QCOMPARE(m_pressel->label4()->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    QCOMPARE(m_pressel->label4()->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    QCOMPARE(m_pressel->label6()->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    QCOMPARE(m_pressel->label6()->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    QCOMPARE(m_pressel->label5()->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    QCOMPARE(m_pressel->label2()->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    QCOMPARE(m_pressel->label2()->palette().color(QPalette::Window), lightGrey);
    QCOMPARE(m_pressel->command2()->palette().color(QPalette::Button), lightGrey);
    QCOMPARE(m_pressel->command1()->palette().color(QPalette::Button),
             QApplication::palette().color(QPalette::Base));
}

void tst_PresselLayout::initialState()
{
    const auto widgets = m_pressel->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    QCOMPARE(widgets.size(), 15);
    for (const QWidget *widget : widgets) {
        QVERIFY2(!widget->isHidden(), qPrintable(widget->objectName()));
        QCOMPARE(widget->isEnabled(), widget != m_pressel->text1());
    }

    QCOMPARE(m_pressel->label2()->text(), QStringLiteral("Sample"));
    QVERIFY(m_pressel->option1()->isChecked());
    QVERIFY(!m_pressel->option2()->isChecked());
    QVERIFY(m_pressel->text1()->text().isEmpty());
    QCOMPARE(m_pressel->list1()->count(), 0);
    QCOMPARE(m_pressel->list1()->selectionMode(), QAbstractItemView::ExtendedSelection);
    QVERIFY(m_pressel->list1()->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff);
    QCOMPARE(m_pressel->list2()->selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(m_pressel->list3()->selectionMode(), QAbstractItemView::SingleSelection);

    for (QPushButton *button : m_pressel->findChildren<QPushButton *>()) {
        QVERIFY(!button->isDefault());
        QVERIFY(!button->autoDefault());
        QVERIFY2(!button->text().contains(QLatin1Char('&')), "no access keys");
    }
}

void tst_PresselLayout::stackingOrder()
{
    // Qt stacks siblings in the order of the parent's children, last on top.
    const QStringList topFirst = {
        "Text1",    "Option2",  "Option1", "List3",  "Command4", "Command3", "List1", "List2",
        "Command1", "Command2", "Label6",  "Label5", "Label4",   "Label2",   "Label1"};
    QStringList bottomFirst;
    for (const QObject *child : m_pressel->children()) {
        if (child->isWidgetType())
            bottomFirst.prepend(child->objectName());
    }
    QCOMPARE(bottomFirst, topFirst);

    // Two overlaps follow from the places: List3 over the sample line's right
    // end, and Option1 over its lowest pixel row.
    QVERIFY(m_pressel->list3()->geometry().intersects(m_pressel->label2()->geometry()));
    QVERIFY(m_pressel->option1()->geometry().intersects(m_pressel->label2()->geometry()));
    QCOMPARE(m_pressel->childAt(m_pressel->list3()->geometry().topLeft() + QPoint(2, 2)),
             m_pressel->list3()->viewport());
}

void tst_PresselLayout::tabOrder_data()
{
    QTest::addColumn<bool>("userText");
    QTest::addColumn<QStringList>("order");

    // The option group is one stop: Tab reaches its chosen button only.
    QTest::newRow("font name, Text1 disabled")
        << false
        << QStringList{"Command3", "Command4", "Command2", "Command1", "List1",
                       "List2",    "List3",    "Option1",  "Command3"};
    QTest::newRow("user text, Text1 enabled")
        << true
        << QStringList{"Command3", "Command4", "Command2", "Command1", "List1",
                       "List2",    "List3",    "Option2",  "Text1",    "Command3"};
}

void tst_PresselLayout::tabOrder()
{
    QFETCH(bool, userText);
    QFETCH(QStringList, order);

    if (userText) {
        m_pressel->option2()->setChecked(true);
        m_pressel->text1()->setEnabled(true);
    }
    m_pressel->show();
    m_pressel->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_pressel));
    m_pressel->command3()->setFocus(Qt::TabFocusReason);

    QStringList visited{QApplication::focusWidget()->objectName()};
    for (int i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.append(QApplication::focusWidget()->objectName());
    }
    QCOMPARE(visited, order);
}

void tst_PresselLayout::optionsFormOneGroup()
{
    m_pressel->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_pressel));
    QRadioButton *option1 = m_pressel->option1();
    QRadioButton *option2 = m_pressel->option2();

    QTest::mouseClick(option2, Qt::LeftButton, {}, QPoint(8, option2->height() / 2));
    QVERIFY(option2->isChecked());
    QVERIFY(!option1->isChecked());
    QTest::mouseClick(option1, Qt::LeftButton, {}, QPoint(8, option1->height() / 2));
    QVERIFY(option1->isChecked());
    QVERIFY(!option2->isChecked());
    // Clicking the chosen one again leaves it chosen: never neither.
    QTest::mouseClick(option1, Qt::LeftButton, {}, QPoint(8, option1->height() / 2));
    QVERIFY(option1->isChecked());

    // Inside the group the arrow keys move the choice.
    m_pressel->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_pressel));
    option1->setFocus(Qt::TabFocusReason);
    QTest::keyClick(option1, Qt::Key_Down);
    QVERIFY(option2->isChecked());
    QCOMPARE(QApplication::focusWidget(), option2);
    QTest::keyClick(option2, Qt::Key_Up);
    QVERIFY(option1->isChecked());
}

void tst_PresselLayout::enterAndEscapeClickNoButton()
{
    m_pressel->list1()->addItem(QStringLiteral("Arial"));
    m_pressel->show();
    m_pressel->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_pressel));

    QList<QSignalSpy *> spies;
    const auto buttons = m_pressel->findChildren<QPushButton *>();
    for (QPushButton *button : buttons)
        spies.append(new QSignalSpy(button, &QPushButton::clicked));

    for (QWidget *focus : {static_cast<QWidget *>(m_pressel->list1()),
                           static_cast<QWidget *>(m_pressel->option1())}) {
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_Return);
        QTest::keyClick(focus, Qt::Key_Enter);
        QTest::keyClick(focus, Qt::Key_Escape);
    }
    for (QSignalSpy *spy : spies)
        QCOMPARE(spy->count(), 0);
    qDeleteAll(spies);
    QVERIFY(m_pressel->isVisible());
}

void tst_PresselLayout::list1Clicks_data()
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

void tst_PresselLayout::list1Clicks()
{
    QFETCH(QList<int>, rows);
    QFETCH(QList<int>, modifiers);
    QFETCH(QList<int>, selected);

    ListBox *list = m_pressel->list1();
    for (const char *name : {"Alpha", "Bravo", "Charlie", "Delta", "Echo"})
        list->addItem(QString::fromLatin1(name));
    m_pressel->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_pressel));

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

void tst_PresselLayout::sortOrder_data()
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

void tst_PresselLayout::sortOrder()
{
    QFETCH(QStringList, added);
    QFETCH(QStringList, listed);

    ListBox *list = m_pressel->list1();
    for (const QString &name : added)
        list->addItem(name);
    QStringList actual;
    for (int row = 0; row < list->count(); ++row)
        actual.append(list->text(row));
    QCOMPARE(actual, listed);
}

void tst_PresselLayout::icon()
{
    const QIcon icon = m_pressel->windowIcon();
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

QTEST_MAIN(tst_PresselLayout)
#include "tst_pressel_layout.moc"
