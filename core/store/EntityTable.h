#pragma once

#include "core/store/EntityDescription.h"

#include "core/store/StoreValue.h"
#include "core/store/TextFolding.h"

#include <QString>
#include <QVariant>

#include <vector>

class ManagedObject;
struct EntityTable;

// One row of an entity's table: what predicates read, without visiting the object itself.
struct RowRef
{
    EntityTable *table;
    quint32 row;

    const StoreValue &value(int attribute) const;
    ManagedObject *one(int relationship) const;
    const std::vector<ManagedObject *> &many(int relationship) const;
    // The folded text of a string attribute, computed on first use and kept until it changes.
    const QString &folded(int attribute) const;
};

// The values of every object of one entity, column by column. Fetches and counts scan a few
// columns of tens of thousands of rows; laid out this way they read memory in order instead of
// visiting every object. Rows are never reused: a deleted object keeps its row, flagged.
struct EntityTable
{
    struct Relation
    {
        ManagedObject *one = nullptr;
        std::vector<ManagedObject *> many;
    };

    explicit EntityTable(const EntityDescription *entity)
        : entity(entity)
        , values(entity->attributes().size())
        , relations(entity->relationships().size())
        , folded(entity->attributes().size())
    {
        for (const AttributeDescription &a : entity->attributes())
            defaults.push_back(StoreValue::fromVariant(a.defaultValue));
    }

    quint32 addRow(ManagedObject *object)
    {
        const auto row = quint32(rows.size());
        rows.push_back(object);
        deleted.push_back(0);
        for (size_t a = 0; a < values.size(); ++a)
            values[a].push_back(defaults[a]);
        for (auto &column : relations)
            column.emplace_back();
        return row;
    }

    const EntityDescription *entity;
    std::vector<ManagedObject *> rows;
    std::vector<quint8> deleted;
    std::vector<StoreValue> defaults;             // [attribute]
    std::vector<std::vector<StoreValue>> values;  // [attribute][row]
    std::vector<std::vector<Relation>> relations; // [relationship][row]
    // Case- and diacritic-folded strings, [attribute][row], filled on first search; a null entry is stale.
    std::vector<std::vector<QString>> folded;
};

inline const StoreValue &RowRef::value(int attribute) const
{
    return table->values[size_t(attribute)][row];
}

inline ManagedObject *RowRef::one(int relationship) const
{
    return table->relations[size_t(relationship)][row].one;
}

inline const std::vector<ManagedObject *> &RowRef::many(int relationship) const
{
    return table->relations[size_t(relationship)][row].many;
}

inline const QString &RowRef::folded(int attribute) const
{
    std::vector<QString> &column = table->folded[size_t(attribute)];
    if (column.size() <= row)
        column.resize(table->rows.size());
    QString &cached = column[row];
    if (cached.isNull())
        cached = TextFolding::fold(value(attribute).toString());
    return cached;
}
