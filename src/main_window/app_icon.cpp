// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "main_window/app_icon.h"

#include <QPainter>
#include <QPixmap>

namespace {

// The icon is designed on a 32 x 32 grid and scaled to other sizes.
constexpr qreal DesignGrid = 32.0;
const QColor DiscBlue(0, 0, 128);

QPixmap iconPixmap(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    paintAppIcon(painter, size);
    return pixmap;
}

} // namespace

void paintAppIcon(QPainter &painter, int size)
{
    painter.save();
    // A 16-colour icon has hard edges; antialiasing would add colours.
    painter.setRenderHint(QPainter::Antialiasing, size > 32);
    painter.scale(size / DesignGrid, size / DesignGrid);

    painter.setPen(QPen(Qt::black, 2.0));
    painter.setBrush(DiscBlue);
    painter.drawEllipse(QRectF(1, 1, 30, 30));

    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(14, 6, 4, 4));   // the dot
    painter.drawRect(QRectF(14, 12, 4, 11)); // the stem
    painter.drawRect(QRectF(11, 23, 10, 3)); // the foot
    painter.drawRect(QRectF(12, 12, 2, 2));  // the stem's head serif
    painter.restore();
}

QIcon appIcon()
{
    // The 16 and 32 px icons of the design, and a 48 px one that title bars
    // and task bars take on a screen of 144 DPI instead of enlarging 32 px.
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addPixmap(iconPixmap(size));
    return icon;
}
