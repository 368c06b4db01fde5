#include "core/store/SortDescriptor.h"

#include "core/store/KeyPath.h"
#include "core/store/ManagedObject.h"

#include <QCollator>

#include <algorithm>
#include <numeric>

SortDescriptor::SortDescriptor(QString keyPath, bool ascending, Comparison comparison)
    : m_keyPath(std::move(keyPath))
    , m_ascending(ascending)
    , m_comparison(comparison)
{
}

namespace {
struct ResolvedKey
{
    const SortDescriptor *descriptor;
    KeyPath path;
};

int compareValues(const QVariant &a, const QVariant &b, SortDescriptor::Comparison comparison, const QCollator &collator)
{
    const bool aAbsent = !a.isValid(), bAbsent = !b.isValid();
    if (aAbsent || bAbsent)
        return aAbsent == bAbsent ? 0 : (aAbsent ? -1 : 1);
    const int ta = a.metaType().id(), tb = b.metaType().id();
    if (ta == QMetaType::QString && tb == QMetaType::QString) {
        const QString &sa = *static_cast<const QString *>(a.constData());
        const QString &sb = *static_cast<const QString *>(b.constData());
        switch (comparison) {
        case SortDescriptor::Comparison::Default:
            return sa.compare(sb);
        case SortDescriptor::Comparison::CaseInsensitive:
            return sa.compare(sb, Qt::CaseInsensitive);
        case SortDescriptor::Comparison::LocalizedCaseInsensitive:
            return collator.compare(sa, sb);
        }
    }
    if (ta == QMetaType::LongLong && tb == QMetaType::LongLong) {
        const qlonglong x = a.toLongLong(), y = b.toLongLong();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (ta == QMetaType::fromType<ManagedObject *>().id()) {
        const auto x = a.value<ManagedObject *>(), y = b.value<ManagedObject *>();
        return x == y ? 0 : (x->objectID() < y->objectID() ? -1 : 1);
    }
    const double x = a.toDouble(), y = b.toDouble();
    return x < y ? -1 : (x > y ? 1 : 0);
}
} // namespace

void SortDescriptor::sort(std::vector<ManagedObject *> &objects, const std::vector<SortDescriptor> &descriptors)
{
    if (objects.size() < 2 || descriptors.empty())
        return;
    const EntityDescription &entity = objects.front()->entity();
    std::vector<ResolvedKey> keys;
    keys.reserve(descriptors.size());
    for (const SortDescriptor &d : descriptors)
        keys.push_back({&d, KeyPath::resolve(entity, d.keyPath())});
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);

    // Each object's values are read once rather than at every comparison: on lists of ten
    // thousand rows and more, copying the values out dominated the sort.
    const size_t n = objects.size(), k = keys.size();
    std::vector<QVariant> values(n * k);
    for (size_t i = 0; i < n; ++i) {
        for (size_t j = 0; j < k; ++j)
            values[i * k + j] = keys[j].path.slotValue(objects[i]);
    }
    std::vector<size_t> order(n);
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        for (size_t j = 0; j < k; ++j) {
            const SortDescriptor &d = *keys[j].descriptor;
            const int c = compareValues(values[a * k + j], values[b * k + j], d.comparison(), collator);
            if (c != 0)
                return d.ascending() ? c < 0 : c > 0;
        }
        return false;
    });
    std::vector<ManagedObject *> sorted;
    sorted.reserve(n);
    for (size_t i : order)
        sorted.push_back(objects[i]);
    objects.swap(sorted);
}
