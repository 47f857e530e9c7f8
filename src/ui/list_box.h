// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAbstractListModel>
#include <QCollatorSortKey>
#include <QItemSelection>
#include <QListView>

#include <map>
#include <optional>
#include <utility>
#include <vector>

// The entries of a list box. A sorted model keeps its entries in collation
// order (as a reader expects: case-insensitive, accents after their base
// letter), each new entry after the equal ones already present.
class ListBoxModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum class Order { AsAdded, Sorted };

    explicit ListBoxModel(Order order, QObject *parent = nullptr);

    // Returns the row the entry was put at.
    int addItem(const QString &text);
    QString text(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    struct Entry
    {
        QString text;
        // Kept beside the text in a sorted model, so that a sorted insert
        // costs only key comparisons instead of a collation per comparison.
        std::optional<QCollatorSortKey> key;
    };
    // A run of consecutive rows. The entries live in short blocks rather
    // than one array, so that an insert into a catalogue of tens of
    // thousands of fonts moves one block's entries, not half the list.
    struct Block
    {
        int firstRow = 0;
        std::vector<Entry> entries;
    };

    // The block that a new entry with this key goes into, and its place
    // there: after every entry that sorts equal to it.
    std::pair<size_t, size_t> sortedPlace(const QCollatorSortKey &key) const;
    size_t blockOfRow(int row) const;

    Order m_order;
    std::vector<Block> m_blocks;
    int m_count = 0;
};

// The selected rows of a list as runs of consecutive rows. A test or a write
// of one row costs O(log runs) and the count nothing, however scattered the
// selection is.
class RowSelection
{
public:
    bool contains(int row) const;
    // Selects or deselects the rows first to last; touching runs are joined.
    void setRange(int first, int last, bool selected);
    // Rows from first on move down by count; the new rows are not selected.
    void insertRows(int first, int count);
    int count() const { return m_count; }
    int runCount() const { return int(m_runs.size()); }
    // First row -> last row of every run, in row order.
    const std::map<int, int> &runs() const { return m_runs; }

private:
    std::map<int, int> m_runs;
    int m_count = 0;
};

// A list box: entries by position, a selected flag per entry and a current
// entry (the one last clicked or moved to).
//
// The list keeps the selection itself, in a RowSelection. Qt's
// QItemSelectionModel keeps one range per row selected one at a time, and
// each select() costs O(ranges): Select All over 20,000 entries would take
// minutes. So code writes go to the list's own selection, and the view's
// selection model is rebuilt from it, one range per run: after every write
// while the runs are few; while they are many, before the view paints or
// takes the user's input, and after as many writes as there are runs, so
// that its other readers (accessibility) lag little behind. The user's
// changes come back from the selection model as they happen.
class ListBox : public QListView
{
    Q_OBJECT

public:
    ListBox(ListBoxModel::Order order, QAbstractItemView::SelectionMode mode,
            QWidget *parent = nullptr);

    void addItem(const QString &text);
    int count() const;
    QString text(int row) const;

    bool isSelected(int row) const;
    // Raises listClicked(), as a user's click would, whether or not the flag
    // changes. In a single-selection list this is the one place where the
    // selected entry can be taken away: the user can only move it.
    void setSelected(int row, bool selected);
    int selectedCount() const;

    // The current entry's text, or "" when there is no current entry.
    QString currentText() const;

Q_SIGNALS:
    // The list box's click: the user clicked an entry (even one already
    // selected alone), changed the selection with the mouse or the keyboard,
    // or moved the current entry with the keyboard (Ctrl+arrow keys, which
    // leave the selection as it is); or code wrote an entry's selected flag.
    void listClicked();

protected:
    bool viewportEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event) const override;

private:
    void raiseClick();
    void onSelectionChanged(const QItemSelection &selected, const QItemSelection &deselected);
    void onRowsInserted(const QModelIndex &parent, int first, int last);
    void syncSelectionModel();

    ListBoxModel *m_model;
    RowSelection m_selection;
    // Code writes that the view's selection model has not seen yet.
    int m_unsyncedWrites = 0;
    // The user's input may have left a selection in the making in the
    // selection model since it was last brought in line.
    bool m_userMayHaveSelected = false;
    bool m_writingSelection = false;
    // Counts listClicked(), so that an input event can tell whether it
    // raised one.
    int m_clicksRaised = 0;
};
