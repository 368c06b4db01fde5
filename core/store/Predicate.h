#pragma once

#include "core/store/EntityTable.h"
#include "core/store/KeyPath.h"
#include "core/store/PredicateParser.h"

#include <QList>
#include <QString>
#include <QVariantList>

#include <memory>
#include <vector>

class EntityDescription;
class ManagedObject;

// A predicate: a parsed format with its %@ arguments bound (strings, numbers, dates, objects).
// Comparisons follow the object store's rules: an absent value equals only an absent value,
// differs from everything else, and is neither less nor greater than anything; "like" matches
// the whole string with * and ? (case-sensitive unless [c]); "contains[cd]" ignores case and
// diacritics. A null predicate matches every object.
class Predicate
{
public:
    Predicate() = default;
    // Throws std::invalid_argument for a malformed format or a wrong number of arguments:
    // formats are fixed strings of the program, so that is a programming error.
    static Predicate withFormat(const QString &format, const QVariantList &arguments = {});

    bool isNull() const { return !m_root; }
    const QString &format() const { return m_format; }
    bool evaluate(const ManagedObject *object) const;
    // The same for one row of a table, as the store's scans call it.
    bool evaluateRow(const RowRef &row) const;

    // Checks every key path against an entity; throws std::invalid_argument for unknown keys.
    void validate(const EntityDescription &entity) const;

private:
    enum class ValueKind { None, Integer, Real, Text, Object };
    struct Bound
    {
        ValueKind kind = ValueKind::None;
        qint64 integer = 0;
        double real = 0;
        QString text;   // as given
        QString folded; // folded as the comparison's options ask
        const ManagedObject *object = nullptr;
    };
    struct Compiled
    {
        const EntityDescription *entity = nullptr;
        std::vector<KeyPath> paths; // by comparison index
    };

    static Bound bind(const QVariant &value);
    void prepareFolding(const PredicateNode &node);
    const Compiled &compiledFor(const EntityDescription &entity) const;
    bool evaluateNode(const PredicateNode &node, const RowRef &row, const Compiled &compiled) const;
    // `row` is nullptr where a to-one relationship on the way was empty.
    bool evaluatePath(const PredicateNode &node, const KeyPath &path, size_t step, const RowRef *row) const;
    bool compare(const PredicateNode &node, const KeyPath &path, const RowRef *holder) const;

    QString m_format;
    std::shared_ptr<const PredicateNode> m_root;
    std::vector<Bound> m_operands; // by comparison index
    mutable std::shared_ptr<Compiled> m_compiled;
};
