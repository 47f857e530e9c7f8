// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/command_button.h"

#include <QPainter>
#include <QStyle>

CommandButton::CommandButton(const QString &caption, QWidget *parent)
    : QPushButton(caption, parent)
{
}

bool CommandButton::Look::operator==(const Look &other) const
{
    const QStyleOptionButton &a = option;
    const QStyleOptionButton &b = other.option;
    return style == other.style && pixelRatio == other.pixelRatio && a.state == b.state
        && a.direction == b.direction && a.rect == b.rect && a.palette.cacheKey() == b.palette.cacheKey()
        && a.palette.currentColorGroup() == b.palette.currentColorGroup() && a.fontMetrics == b.fontMetrics
        && a.features == b.features && a.text == b.text && a.icon.cacheKey() == b.icon.cacheKey()
        && a.iconSize == b.iconSize;
}

CommandButton::Look CommandButton::currentLook() const
{
    Look look;
    initStyleOption(&look.option);
    look.style = style();
    look.pixelRatio = devicePixelRatioF();
    return look;
}

void CommandButton::paintEvent(QPaintEvent *)
{
    // As QPushButton::paintEvent() draws, into the picture first when the
    // look has changed.
    Look look = currentLook();
    if (m_picture.isNull() || !(look == m_pictured)) {
        m_picture = QPixmap((QSizeF(size()) * look.pixelRatio).toSize());
        m_picture.setDevicePixelRatio(look.pixelRatio);
        m_picture.fill(Qt::transparent);
        // Set up as a painter on the button itself, and QStylePainter, set it up.
        QPainter painter(&m_picture);
        painter.setFont(font());
        painter.setPen(palette().color(foregroundRole()));
        painter.setBrush(palette().brush(backgroundRole()));
        painter.setLayoutDirection(layoutDirection());
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        look.style->drawControl(QStyle::CE_PushButton, &look.option, &painter, this);
        m_pictured = std::move(look);
    }
    QPainter(this).drawPixmap(0, 0, m_picture);
}
