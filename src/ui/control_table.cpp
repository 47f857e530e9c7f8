// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/control_table.h"

#include "fonts/font_catalogue.h"
#include "ui/command_button.h"
#include "ui/list_box.h"

#include <QApplication>
#include <QFont>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>

namespace {

// A text of the design in the user's language; an empty one stays empty.
QString translated(const char *context, const char *text)
{
    if (!text || !*text)
        return QString();
    return QCoreApplication::translate(context, text);
}

QWidget *createControl(const ControlRow &row, QWidget *container, const QString &caption)
{
    switch (row.kind) {
    case ControlKind::Label: {
        auto *label = new QLabel(caption, container);
        // Captions are shown as written: a font name or a user's text that
        // looks like markup is not markup.
        label->setTextFormat(Qt::PlainText);
        if (row.alignment)
            label->setAlignment(row.alignment | Qt::AlignTop);
        else
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    case ControlKind::Panel: {
        auto *panel = new QFrame(container);
        panel->setFocusPolicy(Qt::TabFocus);
        return panel;
    }
    case ControlKind::ListBox: {
        const auto order = (row.flags & Sorted) ? ListBoxModel::Order::Sorted
                                                : ListBoxModel::Order::AsAdded;
        const auto mode = (row.flags & MultiSelect) ? QAbstractItemView::ExtendedSelection
                                                    : QAbstractItemView::SingleSelection;
        return new ListBox(order, mode, container);
    }
    case ControlKind::CommandButton: {
        auto *button = new CommandButton(caption, container);
        // Neither Enter nor Escape clicks a button of these windows.
        button->setAutoDefault(false);
        button->setDefault(false);
        return button;
    }
    case ControlKind::OptionButton: {
        auto *option = new QRadioButton(caption, container);
        // The option group is one tab stop, its chosen button; the others
        // take the focus only from a click or the arrow keys.
        const auto followChoice = [option](bool chosen) {
            option->setFocusPolicy(chosen ? Qt::StrongFocus : Qt::ClickFocus);
        };
        QObject::connect(option, &QRadioButton::toggled, option, followChoice);
        option->setChecked(row.flags & Chosen);
        followChoice(option->isChecked());
        return option;
    }
    case ControlKind::TextBox: {
        auto *text = new QLineEdit(caption, container);
        return text;
    }
    }
    return nullptr;
}

// Whether what lies beneath control is already painted in colour: the
// nearest ancestor that paints a background paints that one.
bool backgroundBeneathIs(const QWidget *control, const QColor &colour)
{
    for (const QWidget *ancestor = control->parentWidget(); ancestor; ancestor = ancestor->parentWidget()) {
        if (ancestor->autoFillBackground())
            return ancestor->palette().color(ancestor->backgroundRole()) == colour;
        if (ancestor->isWindow())
            break;
    }
    return false;
}

void applyColours(QWidget *control, const ControlRow &row)
{
    QPalette palette = control->palette();
    if (row.text != Colour::Toolkit) {
        palette.setColor(QPalette::WindowText, colourOf(row.text));
        palette.setColor(QPalette::ButtonText, colourOf(row.text));
        palette.setColor(QPalette::Text, colourOf(row.text));
    }
    if (row.background != Colour::Toolkit) {
        const QColor background = colourOf(row.background);
        if (row.kind == ControlKind::CommandButton) {
            palette.setColor(QPalette::Button, background);
        } else {
            palette.setColor(QPalette::Window, background);
            // Filling the same colour again over it would only cost time
            // on every repaint (the progress window repaints once a font).
            control->setAutoFillBackground(!backgroundBeneathIs(control, background));
        }
    }
    control->setPalette(palette);
}

} // namespace

QColor colourOf(Colour colour)
{
    switch (colour) {
    case Colour::Black: return QColor(0, 0, 0);
    case Colour::Blue: return QColor(0, 0, 255);
    case Colour::Red: return QColor(255, 0, 0);
    case Colour::LightGrey: return QColor(192, 192, 192);
    case Colour::SystemWindowText: return QApplication::palette().color(QPalette::WindowText);
    case Colour::SystemWindow: return QApplication::palette().color(QPalette::Base);
    case Colour::Toolkit: break;
    }
    return {};
}

QFont designFont(FontCatalogue &fonts, const char *family, double points, bool bold)
{
    // A real Arial wins; where it is missing, its metric twin draws it. What
    // it lacks (a name in Chinese, a text in Arabic) is borrowed.
    QFont font;
    font.setFamily(QString::fromLatin1(family));
    font = fonts.textFont(font);
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(false);
    // The design faces are few: a size each, bold or not.
    fonts.keepFacesSetUp(font);
    return font;
}

Controls buildControls(QWidget *window, std::span<const ControlRow> rows, FontCatalogue &fonts, qreal dpi,
                       const char *translationContext)
{
    Controls controls;
    for (const ControlRow &row : rows) {
        QWidget *container = row.container ? controls.get<QWidget>(row.container) : window;
        const char *captionContext = row.captionContext ? row.captionContext : translationContext;
        QWidget *control = createControl(row, container, translated(captionContext, row.caption));
        control->setObjectName(QString::fromLatin1(row.name));
        if (row.fontFamily)
            control->setFont(designFont(fonts, row.fontFamily, row.fontPoints, row.flags & Bold));
        applyColours(control, row);
        if (row.accessibleName)
            control->setAccessibleName(translated(translationContext, row.accessibleName));
        control->setEnabled(!(row.flags & Disabled));
        // No control grows or shrinks with its caption: the design fixes every size.
        control->setGeometry(twipsToPixels(row.rect, dpi));
        control->setVisible(!(row.flags & Hidden));
        controls.insert(row.name, control);
    }
    return controls;
}
