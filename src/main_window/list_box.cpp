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

int ListBoxModel::addItem(const QString &text)
{
    int row = static_cast<int>(m_texts.size());
    if (m_order == Order::Sorted) {
        QCollatorSortKey key = listCollator().sortKey(text);
        const auto at = std::upper_bound(
            m_keys.begin(), m_keys.end(), key,
            [](const QCollatorSortKey &a, const QCollatorSortKey &b) { return a.compare(b) < 0; });
        row = static_cast<int>(at - m_keys.begin());
        beginInsertRows({}, row, row);
        m_keys.insert(at, std::move(key));
    } else {
        beginInsertRows({}, row, row);
    }
    m_texts.insert(row, text);
    endInsertRows();
    return row;
}

int ListBoxModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_texts.size());
}

QVariant ListBoxModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_texts.size())
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return m_texts.at(index.row());
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
