#include "main_window/list_box.h"

#include <QCollator>
#include <QItemSelectionModel>
#include <QLocale>

#include <algorithm>

namespace {

QCollator &listCollator()
{
    // The C locale would fall back to code-point order ("Zapf" before
    // "abc"); a reader's order needs a real collation.
    static QCollator collator = [] {
        QLocale locale = QLocale::system();
        if (locale.language() == QLocale::C)
            locale = QLocale(QLocale::English, QLocale::UnitedStates);
        QCollator c(locale);
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator;
}

} // namespace

ListBoxModel::ListBoxModel(Order order, QObject *parent)
    : QAbstractListModel(parent)
    , m_order(order)
{
}

std::pair<size_t, size_t> ListBoxModel::sortedPlace(const QCollatorSortKey &key) const
{
    const auto sortsBefore = [](const QCollatorSortKey &a, const Entry &b) {
        return a.compare(*b.key) < 0;
    };
    // The first block whose last entry sorts after the key holds the place;
    // when there is none, the key goes at the very end.
    const auto block = std::partition_point(m_blocks.begin(), m_blocks.end(),
                                            [&](const Block &b) {
                                                return !sortsBefore(key, b.entries.back());
                                            });
    if (block == m_blocks.end())
        return {m_blocks.size() - 1, m_blocks.back().entries.size()};
    const auto at = std::upper_bound(block->entries.begin(), block->entries.end(), key,
                                     sortsBefore);
    return {size_t(block - m_blocks.begin()), size_t(at - block->entries.begin())};
}

size_t ListBoxModel::blockOfRow(int row) const
{
    const auto after = std::upper_bound(m_blocks.begin(), m_blocks.end(), row,
                                        [](int r, const Block &b) { return r < b.firstRow; });
    return size_t(after - m_blocks.begin()) - 1;
}

int ListBoxModel::addItem(const QString &text)
{
    // Blocks are split in two when they reach twice this size.
    constexpr size_t BlockSize = 256;

    if (m_blocks.empty())
        m_blocks.emplace_back();
    Entry entry{text, std::nullopt};
    std::pair<size_t, size_t> place{m_blocks.size() - 1, m_blocks.back().entries.size()};
    if (m_order == Order::Sorted) {
        entry.key = listCollator().sortKey(text);
        if (m_count > 0)
            place = sortedPlace(*entry.key);
    }
    const auto [blockIndex, offset] = place;
    const int row = m_blocks[blockIndex].firstRow + int(offset);

    beginInsertRows({}, row, row);
    std::vector<Entry> &entries = m_blocks[blockIndex].entries;
    entries.insert(entries.begin() + std::ptrdiff_t(offset), std::move(entry));
    ++m_count;
    for (size_t b = blockIndex + 1; b < m_blocks.size(); ++b)
        ++m_blocks[b].firstRow;
    if (entries.size() >= 2 * BlockSize) {
        Block upper;
        upper.firstRow = m_blocks[blockIndex].firstRow + int(BlockSize);
        upper.entries.assign(std::make_move_iterator(entries.begin() + BlockSize),
                             std::make_move_iterator(entries.end()));
        entries.resize(BlockSize);
        m_blocks.insert(m_blocks.begin() + std::ptrdiff_t(blockIndex) + 1, std::move(upper));
    }
    endInsertRows();
    return row;
}

QString ListBoxModel::text(int row) const
{
    Q_ASSERT(row >= 0 && row < m_count);
    const Block &block = m_blocks[blockOfRow(row)];
    return block.entries[size_t(row - block.firstRow)].text;
}

int ListBoxModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_count;
}

QVariant ListBoxModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_count)
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return text(index.row());
    return {};
}

ListBox::ListBox(ListBoxModel::Order order, QAbstractItemView::SelectionMode mode,
                 QWidget *parent)
    : QListView(parent)
    , m_model(new ListBoxModel(order, this))
{
    setModel(m_model);
    setSelectionMode(mode);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Every entry is one line of the same font: uniform sizes spare the view
    // a size hint per row whenever it lays the list out.
    setUniformItemSizes(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ListBox::onSelectionChanged);
}

void ListBox::addItem(const QString &text)
{
    m_model->addItem(text);
}

int ListBox::count() const
{
    return m_model->rowCount();
}

QString ListBox::text(int row) const
{
    return m_model->text(row);
}

bool ListBox::isSelected(int row) const
{
    return selectionModel()->isSelected(m_model->index(row));
}

void ListBox::setSelected(int row, bool selected)
{
    const QModelIndex index = m_model->index(row);
    m_writingSelection = true;
    // In a single-selection list the selected entry is the current one.
    if (selectionMode() == QAbstractItemView::SingleSelection && selected)
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    else
        selectionModel()->select(index, selected ? QItemSelectionModel::Select
                                                 : QItemSelectionModel::Deselect);
    m_writingSelection = false;
    Q_EMIT listClicked();
}

int ListBox::selectedCount() const
{
    return static_cast<int>(selectionModel()->selectedRows().size());
}

QString ListBox::currentText() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? m_model->text(current.row()) : QString();
}

void ListBox::focusInEvent(QFocusEvent *event)
{
    // Qt makes the first entry current when the list takes the focus; a list
    // box has no current entry until the user picks one.
    const bool hadCurrent = currentIndex().isValid();
    QListView::focusInEvent(event);
    if (!hadCurrent && currentIndex().isValid())
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}

void ListBox::onSelectionChanged()
{
    if (!m_writingSelection)
        Q_EMIT listClicked();
}
