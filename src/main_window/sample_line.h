// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>

#include <stdexcept>

class FontCatalogue;
class QLabel;
class Screen;

// Setting a face that the screen cannot draw. Qt never fails there on its
// own: it silently draws another face instead.
class FontNotDrawable : public std::runtime_error
{
public:
    explicit FontNotDrawable(const QString &family);
};

// Setting a face that the screen had, but whose files are gone or changed
// since: Qt would draw another face, or read glyphs from a file cut short.
class FontNotAvailable : public std::runtime_error
{
public:
    explicit FontNotAvailable(const QString &family);
};

// Sets the label's face to family, or throws FontNotDrawable when the screen
// does not have that family, or FontNotAvailable when it has it no longer,
// and leaves the label as it was. The face is
// drawn alone: a glyph that it lacks is not taken from another face.
void setFontName(QLabel &label, Screen &screen, const QString &family);

// Sets the label's face to the caption face (FontCatalogue::CaptionFamily),
// or where the screen lacks it to the metric-compatible face that the
// window's design uses for it; never fails. The face is picked from the
// families that the screen has: asking Qt for a missing family would send it
// through fontconfig's fallback list first.
void setCaptionFontName(QLabel &label, Screen &screen, FontCatalogue &fonts);

// Draws a label's long caption from only as much text as can show. QLabel
// lays its whole caption out at every paint: 8 to 16 ms for the 32,767
// characters that userTextBox takes, a third of a second for 1 MB, of which a few
// dozen characters fit on the label. The caption itself is left as it is.
// For a plain-text label without a frame or word wrap whose text aligns to
// its start, top left: cut well past the edge, the text is drawn the same
// as whole.
class LongCaptionPainter : public QObject
{
    Q_OBJECT

public:
    // Watches label, and is owned by it.
    explicit LongCaptionPainter(QLabel *label);

    // Captions up to this length are left to QLabel.
    static constexpr int ShortCaption = 256;

    // What the label draws of caption: the lines that can show in it, each
    // cut at a character boundary well past the label's right edge.
    static QString visiblePart(const QLabel &label, const QString &caption);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *m_label;
};
