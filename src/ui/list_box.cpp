// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/list_box.h"

#include <QCollator>
#include <QEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QSignalBlocker>

#include <algorithm>

namespace {

// Up to this many runs of selected rows, the view's selection model follows
// every code write at once.
constexpr int FewRuns = 64;

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

bool RowSelection::contains(int row) const
{
    auto after = m_runs.upper_bound(row);
    return after != m_runs.begin() && row <= std::prev(after)->second;
}

void RowSelection::setRange(int first, int last, bool selected)
{
    if (first > last)
        return;
    // Cut first..last out of every run that overlaps it, keeping the parts
    // of those runs outside it.
    auto run = m_runs.upper_bound(first);
    if (run != m_runs.begin() && std::prev(run)->second >= first)
        --run;
    while (run != m_runs.end() && run->first <= last) {
        const auto [runFirst, runLast] = *run;
        run = m_runs.erase(run);
        m_count -= runLast - runFirst + 1;
        if (runFirst < first) {
            m_runs.emplace(runFirst, first - 1);
            m_count += first - runFirst;
        }
        if (runLast > last) {
            m_runs.emplace(last + 1, runLast);
            m_count += runLast - last;
        }
    }
    if (!selected)
        return;

    // One run from first to last, joined with the runs that touch it.
    int joinedFirst = first;
    int joinedLast = last;
    if (auto next = m_runs.find(last + 1); next != m_runs.end()) {
        joinedLast = next->second;
        m_count -= next->second - next->first + 1;
        m_runs.erase(next);
    }
    if (auto after = m_runs.lower_bound(first); after != m_runs.begin()) {
        auto before = std::prev(after);
        if (before->second == first - 1) {
            joinedFirst = before->first;
            m_count -= before->second - before->first + 1;
            m_runs.erase(before);
        }
    }
    m_runs.emplace(joinedFirst, joinedLast);
    m_count += joinedLast - joinedFirst + 1;
}

void RowSelection::insertRows(int first, int count)
{
    if (m_runs.empty() || m_runs.rbegin()->second < first)
        return;
    std::map<int, int> moved;
    for (const auto &[runFirst, runLast] : m_runs) {
        if (runLast < first) {
            moved.emplace_hint(moved.end(), runFirst, runLast);
        } else if (runFirst >= first) {
            moved.emplace_hint(moved.end(), runFirst + count, runLast + count);
        } else {
            // The new rows split the run, as they split Qt's selection ranges.
            moved.emplace_hint(moved.end(), runFirst, first - 1);
            moved.emplace_hint(moved.end(), first + count, runLast + count);
        }
    }
    m_runs = std::move(moved);
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
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &ListBox::onRowsInserted);
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
    return m_selection.contains(row);
}

void ListBox::setSelected(int row, bool selected)
{
    const QModelIndex index = m_model->index(row);
    if (selectionMode() == QAbstractItemView::SingleSelection) {
        // One entry at most: the selection model is cheap here, and in a
        // single-selection list the selected entry is the current one.
        syncSelectionModel();
        m_writingSelection = true;
        if (selected)
            selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        else
            selectionModel()->select(index, QItemSelectionModel::Deselect);
        m_writingSelection = false;
    } else {
        if (m_selection.contains(row) != selected) {
            m_selection.setRange(row, row, selected);
            update(index);
            ++m_unsyncedWrites;
        } else if (m_userMayHaveSelected) {
            // Qt files the selection that the user is making as made at
            // every write, a change or not: a Shift-click after it extends
            // that selection instead of replacing it.
            ++m_unsyncedWrites;
        }
        // Bringing the selection model in line costs O(runs): while they
        // are few it follows every write, else once per that many writes.
        if (m_unsyncedWrites > 0
            && (m_selection.runCount() <= FewRuns || m_unsyncedWrites > m_selection.runCount()))
            syncSelectionModel();
    }
    raiseClick();
}

int ListBox::selectedCount() const
{
    return m_selection.count();
}

QString ListBox::currentText() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? m_model->text(current.row()) : QString();
}

bool ListBox::viewportEvent(QEvent *event)
{
    // The view paints from its selection model and works out what a click
    // selects from it.
    syncSelectionModel();
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        m_userMayHaveSelected = true;
        break;
    default:
        break;
    }
    return QListView::viewportEvent(event);
}

void ListBox::mousePressEvent(QMouseEvent *event)
{
    // A click on an entry is the list's click even when the selection stays
    // as it was: on the entry that is already selected alone, or a
    // Ctrl-click on a size list's selected entry.
    const int raised = m_clicksRaised;
    QListView::mousePressEvent(event);
    if (m_clicksRaised == raised && event->button() == Qt::LeftButton
        && indexAt(event->position().toPoint()).isValid())
        raiseClick();
}

void ListBox::keyPressEvent(QKeyEvent *event)
{
    syncSelectionModel();
    m_userMayHaveSelected = true;
    // Ctrl with the arrow, Home, End and page keys moves the current entry
    // and leaves the selection alone; the current entry is what the list's
    // click reads, so the move is a click too.
    const QPersistentModelIndex before = currentIndex();
    const int raised = m_clicksRaised;
    QListView::keyPressEvent(event);
    if (m_clicksRaised == raised && currentIndex().isValid() && currentIndex() != before)
        raiseClick();
}

QItemSelectionModel::SelectionFlags ListBox::selectionCommand(const QModelIndex &index,
                                                              const QEvent *event) const
{
    // A single-selection list always has its one entry selected: the size
    // in force. Qt lets a Ctrl-click or Ctrl+Space take it out; here the
    // entry stays.
    const QItemSelectionModel::SelectionFlags command = QListView::selectionCommand(index, event);
    if (selectionMode() == QAbstractItemView::SingleSelection
        && (command & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle))
        && selectionModel()->isSelected(index))
        return QItemSelectionModel::NoUpdate;
    return command;
}

void ListBox::focusInEvent(QFocusEvent *event)
{
    syncSelectionModel();
    // Qt makes the first entry current when the list takes the focus; a list
    // box has no current entry until the user picks one.
    const bool hadCurrent = currentIndex().isValid();
    QListView::focusInEvent(event);
    if (!hadCurrent && currentIndex().isValid())
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}

void ListBox::syncSelectionModel()
{
    if (m_unsyncedWrites == 0)
        return;
    m_unsyncedWrites = 0;
    m_userMayHaveSelected = false;
    QItemSelection whole;
    whole.reserve(m_selection.runCount());
    for (const auto &[first, last] : m_selection.runs())
        whole.append(QItemSelectionRange(m_model->index(first), m_model->index(last)));

    // The rows were repainted as they were written, and nothing the user did
    // is in this: the view and the list need not hear of it. Clearing first
    // and selecting into the empty model spares Qt its comparison of the old
    // ranges with the new, which is quadratic; the last call files the
    // selection as made, so that a Shift-click extends it and does not
    // replace it.
    const QSignalBlocker quiet(selectionModel());
    selectionModel()->select(QItemSelection(), QItemSelectionModel::Clear);
    selectionModel()->select(whole, QItemSelectionModel::Select);
    selectionModel()->select(QItemSelection(), QItemSelectionModel::Select);
}

void ListBox::onSelectionChanged(const QItemSelection &selected, const QItemSelection &deselected)
{
    for (const QItemSelectionRange &range : deselected)
        m_selection.setRange(range.top(), range.bottom(), false);
    for (const QItemSelectionRange &range : selected)
        m_selection.setRange(range.top(), range.bottom(), true);
    if (!m_writingSelection)
        raiseClick();
}

void ListBox::raiseClick()
{
    ++m_clicksRaised;
    Q_EMIT listClicked();
}

void ListBox::onRowsInserted(const QModelIndex &parent, int first, int last)
{
    if (!parent.isValid())
        m_selection.insertRows(first, last - first + 1);
}
