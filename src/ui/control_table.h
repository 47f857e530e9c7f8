// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/twips.h"

#include <QHash>
#include <QByteArray>
#include <QColor>
#include <QFont>

#include <span>
#include <stdexcept>
#include <string>

class FontCatalogue;
class QWidget;

enum class ControlKind { Label, Panel, ListBox, CommandButton, OptionButton, TextBox };

enum class Colour {
    Toolkit,          // leave the toolkit's own colour
    Black,
    Blue,
    Red,
    LightGrey,
    SystemWindowText, // the desktop's text colour
    SystemWindow,     // the desktop's window (document) background
};

enum ControlFlag {
    NoFlags = 0,
    Sorted = 1,      // list box: entries in collation order
    MultiSelect = 2, // list box: extended multiple selection
    Disabled = 4,
    Chosen = 8,      // option button: the chosen one of its group
    Hidden = 16,
    Bold = 32,
};

// One control of a window's design: kind, caption, place, font and colours.
// A row names only what it sets; the rest stays as the toolkit has it.
struct ControlRow
{
    const char *name = nullptr;
    const char *container = nullptr; // the name of an earlier panel row, or nullptr for the window
    ControlKind kind = ControlKind::Label;
    const char *caption = nullptr;
    // The translation context of caption where it is not the window's own:
    // a text that more than one window shows.
    const char *captionContext = nullptr;
    TwipsRect rect = {};
    const char *fontFamily = nullptr; // nullptr: the container's font
    double fontPoints = 0;
    Colour text = Colour::Toolkit;
    Colour background = Colour::Toolkit;
    Qt::Alignment alignment = {}; // labels only; none: left and top
    int flags = NoFlags;          // ControlFlag bits
    // What a screen reader calls the control; nullptr where its caption says
    // it already (buttons, options, headings) or where it reads out what it
    // shows.
    const char *accessibleName = nullptr;
};

// The controls of a window's design, by name.
class Controls
{
public:
    void insert(const char *name, QWidget *control) { m_byName.insert(name, control); }

    // The control named name, as the kind of control that the window takes
    // it for. A name that the design lacks, or a control of another kind, is
    // a fault in the window's code: it fails as the window is built.
    template <typename Control>
    Control *get(const char *name) const
    {
        auto *control = qobject_cast<Control *>(m_byName.value(name));
        if (!control)
            throw std::logic_error(std::string("the window's design has no such control: ") + name);
        return control;
    }

private:
    QHash<QByteArray, QWidget *> m_byName;
};

// Creates the controls of a design table on window, converting twips at the
// given DPI. Rows come bottom of the stacking order first: each control is
// drawn over the ones created before it. Captions and screen-reader names
// are shown translated, from the translation context given or a row's own
// captionContext (the table marks them with QT_TRANSLATE_NOOP in that
// context).
Controls buildControls(QWidget *window, std::span<const ControlRow> rows, FontCatalogue &fonts, qreal dpi,
                       const char *translationContext);

// The design's faces, with metric-compatible stand-ins where a face is not
// installed (Liberation Sans for Arial and MS Sans Serif, Liberation Serif
// for Times New Roman).
QFont designFont(FontCatalogue &fonts, const char *family, double points, bool bold);

QColor colourOf(Colour colour);
