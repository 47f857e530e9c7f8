// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The outline of a font sheet: an entry for each printed font, which points
// at the page and the height where the font's caption is drawn, so that a
// reader can go to a font without scrolling.
//
// A long list is hard to find one's way in: beyond GroupAbove entries, they
// go under one entry per first letter, in the order in which they came.
class PdfOutline
{
public:
    static constexpr int GroupAbove = 100;

    // page counts from 1; top is in points below the top edge of the page.
    void add(const QString &title, int page, double top);
    int size() const { return static_cast<int>(m_entries.size()); }
    // Drops the entries from count on, for pages that are drawn again.
    void truncate(int count);

    // What glyphora-join-pdf reads beside the pages: the outline, and the
    // document information's Subject (the number of fonts) and Creator.
    QByteArray description() const;

private:
    struct Entry
    {
        QString title;
        int page;
        double top;
    };

    QList<Entry> m_entries;
};
