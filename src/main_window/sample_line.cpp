// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "main_window/sample_line.h"

#include "desktop/screen.h"
#include "fonts/font_catalogue.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace {

void setFace(QLabel &label, const QString &family)
{
    QFont font = label.font();
    font.setFamilies({family});
    font.setStyleStrategy(QFont::NoFontMerging);
    label.setFont(font);
}

// Where QPainter::drawText starts a new line.
bool isLineBreak(QChar c)
{
    return c == QLatin1Char('\n') || c == QChar::LineSeparator;
}

// How QLabel draws a plain caption: the direction of the whole caption
// decides the direction and the side that the text aligns to, and tabs go
// to tab stops.
int drawingFlags(const QLabel &label, const QString &caption)
{
    const Qt::LayoutDirection direction =
        caption.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight;
    return QStyle::visualAlignment(direction, label.alignment()) | Qt::TextExpandTabs
         | (direction == Qt::LeftToRight ? Qt::TextForceLeftToRight : Qt::TextForceRightToLeft);
}

// The width of one line of text as drawn with those flags.
qreal drawnWidth(const QFontMetricsF &metrics, int flags, QStringView line)
{
    constexpr qreal Unbounded = 1e9;
    return metrics.boundingRect(QRectF(0, 0, Unbounded, Unbounded), flags, line.toString()).width();
}

// The first grapheme boundary at or after position in text.
qsizetype graphemeEnd(QStringView text, qsizetype position)
{
    // A cluster seldom runs to more than a few code units; the finder is
    // given only the text around the cut, as it reads all it is given.
    constexpr qsizetype Window = 64;
    const qsizetype from = std::max<qsizetype>(0, position - Window);
    const QStringView around =
        text.mid(from, std::min(text.size() - from, position - from + Window));
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, around.data(), around.size());
    finder.setPosition(position - from);
    if (finder.isAtBoundary())
        return position;
    const qsizetype next = finder.toNextBoundary();
    return next < 0 ? from + around.size() : from + next;
}

} // namespace

FontNotDrawable::FontNotDrawable(const QString &family)
    : std::runtime_error(
          QStringLiteral("the screen cannot draw the font \"%1\"").arg(family).toStdString())
{
}

FontNotAvailable::FontNotAvailable(const QString &family)
    : std::runtime_error(
          QStringLiteral("the font \"%1\" is not available any more").arg(family).toStdString())
{
}

void setFontName(QLabel &label, Screen &screen, const QString &family)
{
    if (!screen.canDrawFont(family))
        throw FontNotDrawable(family);
    if (!screen.fontAvailable(family))
        throw FontNotAvailable(family);
    setFace(label, family);
}

void setCaptionFontName(QLabel &label, Screen &screen, FontCatalogue &fonts)
{
    QString face = FontCatalogue::CaptionFamily;
    if (!screen.canDrawFont(face)) {
        const QStringList standIns = fonts.standInFamilies(face);
        const auto drawable = std::find_if(standIns.begin(), standIns.end(),
                                           [&](const QString &f) { return screen.canDrawFont(f); });
        // With no stand-in either, Qt picks a face: the caption shows all the same.
        if (drawable != standIns.end())
            face = *drawable;
    }
    setFace(label, face);
    // Otherwise milliseconds on every click on a name that only the printer
    // has, with many families installed. The stand-ins are few: a size
    // each, bold or not.
    fonts.keepFacesSetUp(label.font());
}

LongCaptionPainter::LongCaptionPainter(QLabel *label)
    : QObject(label)
    , m_label(label)
{
    label->installEventFilter(this);
}

QString LongCaptionPainter::visiblePart(const QLabel &label, const QString &caption)
{
    const QFontMetricsF metrics(label.font());
    const int flags = drawingFlags(label, caption);
    const QRect area = label.contentsRect();
    // Past the edge by this much, a cut changes nothing drawn: not the
    // shape of the last glyph that shows, nor the kerning before it.
    const qreal wideEnough = area.width() + 2 * metrics.height();
    const int lines = int(area.height() / std::max<qreal>(1, metrics.height())) + 1;

    QString shown;
    qsizetype start = 0;
    for (int line = 0; line < lines && start < caption.size(); ++line) {
        // Take twice as much of the line each time until it is wide enough
        // or ends; a line is read only as far as it is taken.
        qsizetype end = caption.size();
        bool cut = false;
        for (qsizetype taken = ShortCaption / 4;; taken *= 2) {
            const QStringView piece =
                QStringView(caption).mid(start, std::min(taken, caption.size() - start));
            const auto lineBreak = std::find_if(piece.begin(), piece.end(), isLineBreak);
            if (lineBreak != piece.end()) {
                end = start + (lineBreak - piece.begin());
                break;
            }
            if (start + piece.size() == caption.size())
                break;
            if (drawnWidth(metrics, flags, piece) > wideEnough) {
                end = graphemeEnd(caption, start + piece.size());
                cut = true;
                break;
            }
        }
        shown += QStringView(caption).mid(start, end - start);
        // The rest of a cut line does not show; the line after it may.
        if (cut)
            end = std::find_if(caption.begin() + end, caption.end(), isLineBreak) - caption.begin();
        if (end == caption.size())
            break;
        shown += caption.at(end);
        start = end + 1;
    }
    return shown;
}

bool LongCaptionPainter::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_label || event->type() != QEvent::Paint)
        return false;
    const QString caption = m_label->text();
    // Anything else QLabel draws as it always does.
    if (caption.size() <= ShortCaption || m_label->wordWrap() || m_label->frameWidth() != 0
        || m_label->indent() > 0 || m_label->alignment() != (Qt::AlignLeft | Qt::AlignTop))
        return false;

    const int margin = m_label->margin();
    const QRect area = m_label->contentsRect().adjusted(margin, margin, -margin, -margin);
    QStyleOption option;
    option.initFrom(m_label);
    QPainter painter(m_label);
    m_label->style()->drawItemText(&painter, area, drawingFlags(*m_label, caption), option.palette,
                                   m_label->isEnabled(), visiblePart(*m_label, caption),
                                   m_label->foregroundRole());
    return true;
}
