#pragma once

#include "core/store/EntityDescription.h"

#include <QString>
#include <QVariant>

#include <vector>

class ManagedObject;

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
    }

    quint32 addRow(ManagedObject *object)
    {
        const auto row = quint32(rows.size());
        rows.push_back(object);
        deleted.push_back(0);
        for (size_t a = 0; a < values.size(); ++a)
            values[a].push_back(entity->attributes()[a].defaultValue);
        for (auto &column : relations)
            column.emplace_back();
        return row;
    }

    const EntityDescription *entity;
    std::vector<ManagedObject *> rows;
    std::vector<quint8> deleted;
    std::vector<std::vector<QVariant>> values;    // [attribute][row]
    std::vector<std::vector<Relation>> relations; // [relationship][row]
    // Case- and diacritic-folded strings, [attribute][row], filled on first search; a null entry is stale.
    std::vector<std::vector<QString>> folded;
};
