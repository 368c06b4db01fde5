#pragma once

#include <QCollator>
#include <QSortFilterProxyModel>

// A list of names in the order a reader looks for them: letter case and accents aside
// ("apple", "Eagle", "élan", "Zebra"), then in the user's language, and only then by the exact
// text. The store's own name order leaves accents to the collation of the user's locale, and
// with the C locale (a minimal system's) that is code-point order, which puts "élan" after "Zebra".
class NameOrder : public QSortFilterProxyModel
{
    Q_OBJECT
public:
    explicit NameOrder(QObject *parent = nullptr);

protected:
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;

private:
    QCollator m_collator;
};
