// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Draws a text in one face alone, bold, black on white, and writes the
// picture cut to its ink: what a screenshot of the program should hold
// where it draws that text with glyphs borrowed from that face.
//
//   draw_text OUT.png FAMILY PIXELS TEXT

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() != 5) {
        std::fprintf(stderr, "usage: draw_text OUT.png FAMILY PIXELS TEXT\n");
        return 2;
    }
    const int pixels = args.at(3).toInt();
    QFont font(args.at(2));
    font.setPixelSize(pixels);
    font.setBold(true);
    font.setStyleStrategy(QFont::NoFontMerging);

    QImage image(pixels * (args.at(4).size() + 4), pixels * 4, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(pixels, pixels * 3), args.at(4));
    }
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                ink |= QRect(x, y, 1, 1);
        }
    }
    return !ink.isEmpty() && image.copy(ink).save(args.at(1)) ? 0 : 1;
}
