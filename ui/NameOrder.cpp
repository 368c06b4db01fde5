#include "ui/NameOrder.h"

#include "core/store/TextFolding.h"

NameOrder::NameOrder(QObject *parent)
    : QSortFilterProxyModel(parent)
{
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    setDynamicSortFilter(true);
    sort(0);
}

bool NameOrder::lessThan(const QModelIndex &left, const QModelIndex &right) const
{
    const QString a = left.data(Qt::DisplayRole).toString(), b = right.data(Qt::DisplayRole).toString();
    if (const int folded = m_collator.compare(TextFolding::fold(a), TextFolding::fold(b)); folded != 0)
        return folded < 0;
    return a < b;
}
