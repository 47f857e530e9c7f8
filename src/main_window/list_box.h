#pragma once

#include <QAbstractListModel>
#include <QCollatorSortKey>
#include <QListView>

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

// A list box: entries by position, a selected flag per entry and a current
// entry (the one last clicked or moved to).
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
    // changes.
    void setSelected(int row, bool selected);
    int selectedCount() const;

    // The current entry's text, or "" when there is no current entry.
    QString currentText() const;

Q_SIGNALS:
    // The list box's click: the user changed the selection with the mouse or
    // the keyboard, or code wrote an entry's selected flag.
    void listClicked();

protected:
    void focusInEvent(QFocusEvent *event) override;

private:
    void onSelectionChanged();

    ListBoxModel *m_model;
    bool m_writingSelection = false;
};
