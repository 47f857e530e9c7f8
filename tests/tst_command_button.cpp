// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

// A command button draws from a picture of its last look; whatever state it
// is put into, it must look exactly as a plain QPushButton in that state.

#include "ui/command_button.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <functional>

namespace {

using ButtonState = std::function<void(QPushButton &)>;

// A button in a window of its own, on the windows' light grey.
struct Framed
{
    explicit Framed(QPushButton *button)
        : button(button)
    {
        QPalette palette = window.palette();
        palette.setColor(QPalette::Window, QColor(192, 192, 192));
        window.setPalette(palette);
        window.setAutoFillBackground(true);
        window.resize(160, 60);
        button->setParent(&window);
        button->setGeometry(20, 12, 100, 33);
    }

    QWidget window;
    QPushButton *button;
};

} // namespace

Q_DECLARE_METATYPE(ButtonState)

class tst_CommandButton : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();
    void looksAsAPushButton_data();
    void looksAsAPushButton();
};

void tst_CommandButton::cleanup()
{
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_CommandButton::looksAsAPushButton_data()
{
    QTest::addColumn<ButtonState>("state");

    QTest::newRow("as made") << ButtonState([](QPushButton &) {});
    QTest::newRow("pressed") << ButtonState([](QPushButton &b) { b.setDown(true); });
    QTest::newRow("under the mouse") << ButtonState([](QPushButton &b) { b.setAttribute(Qt::WA_UnderMouse); });
    QTest::newRow("disabled") << ButtonState([](QPushButton &b) { b.setEnabled(false); });
    QTest::newRow("default") << ButtonState([](QPushButton &b) { b.setDefault(true); });
    QTest::newRow("checked") << ButtonState([](QPushButton &b) {
        b.setCheckable(true);
        b.setChecked(true);
    });
    QTest::newRow("new caption") << ButtonState([](QPushButton &b) { b.setText(QStringLiteral("Stopped")); });
    QTest::newRow("right to left") << ButtonState([](QPushButton &b) { b.setLayoutDirection(Qt::RightToLeft); });
    QTest::newRow("other colours") << ButtonState([](QPushButton &b) {
        QPalette palette = b.palette();
        palette.setColor(QPalette::Button, QColor(192, 192, 192));
        palette.setColor(QPalette::ButtonText, Qt::blue);
        b.setPalette(palette);
    });
    QTest::newRow("bold caption") << ButtonState([](QPushButton &b) {
        QFont font = b.font();
        font.setBold(true);
        b.setFont(font);
    });
    QTest::newRow("resized") << ButtonState([](QPushButton &b) { b.resize(70, 40); });
    QTest::newRow("keyboard focus") << ButtonState([](QPushButton &b) {
        b.window()->show();
        b.window()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(b.window()));
        b.setFocus(Qt::TabFocusReason);
        QVERIFY(b.hasFocus());
    });
}

void tst_CommandButton::looksAsAPushButton()
{
    QFETCH(ButtonState, state);

    Framed drawn(new CommandButton(QStringLiteral("Stop")));
    Framed reference(new QPushButton(QStringLiteral("Stop")));
    // The picture of the button as made is taken first, so that the state
    // given has to replace it.
    QCOMPARE(drawn.window.grab().toImage(), reference.window.grab().toImage());
    state(*drawn.button);
    if (QTest::currentTestFailed())
        return;
    state(*reference.button);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(drawn.window.grab().toImage(), reference.window.grab().toImage());
}

QTEST_MAIN(tst_CommandButton)
#include "tst_command_button.moc"
