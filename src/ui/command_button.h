// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPixmap>
#include <QPushButton>
#include <QStyleOptionButton>

// A push button that draws itself from a picture of its last look while it
// looks the same. The progress window is repainted whole once a font, and
// the style's drawing of its Stop button (bevel, gradient, caption) cost a
// sixth of each repaint; the button's look changes only when its state does.
// The picture is taken with the very drawing that QPushButton does, on a
// transparent ground, and laid over whatever lies beneath.
class CommandButton : public QPushButton
{
    Q_OBJECT

public:
    explicit CommandButton(const QString &caption, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // Everything that the style draws the button from.
    struct Look
    {
        QStyleOptionButton option;
        const QStyle *style = nullptr;
        qreal pixelRatio = 1;

        bool operator==(const Look &other) const;
    };

    Look currentLook() const;

    QPixmap m_picture;
    Look m_pictured;
};
