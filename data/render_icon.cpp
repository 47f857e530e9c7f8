// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Writes the program's icon as a PNG file of the given size, for the icon
// theme. The window icon is painted by the same code, so the two never
// drift apart.
//
//   render_icon SIZE FILE

#include "main_window/app_icon.h"

#include <QImage>
#include <QPainter>
#include <QString>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: render_icon SIZE FILE\n");
        return EXIT_FAILURE;
    }
    bool ok = false;
    const int size = QString::fromLocal8Bit(argv[1]).toInt(&ok);
    if (!ok || size <= 0) {
        std::fprintf(stderr, "render_icon: not a size in pixels: %s\n", argv[1]);
        return EXIT_FAILURE;
    }

    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paintAppIcon(painter, size);
    painter.end();

    const QString file = QString::fromLocal8Bit(argv[2]);
    if (!image.save(file, "PNG")) {
        std::fprintf(stderr, "render_icon: cannot write %s\n", argv[2]);
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}
