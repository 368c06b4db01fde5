#pragma once

#include <QString>

#include <vector>

class EntityDescription;
class ManagedObject;

// One sort key: a key path, a direction and how strings compare. Absent values sort before
// present ones, as the object store did.
class SortDescriptor
{
public:
    enum class Comparison { Default, CaseInsensitive, LocalizedCaseInsensitive };

    SortDescriptor(QString keyPath, bool ascending = true, Comparison comparison = Comparison::Default);

    const QString &keyPath() const { return m_keyPath; }
    bool ascending() const { return m_ascending; }
    Comparison comparison() const { return m_comparison; }

    // Sorts in place, stably, by the descriptors in order.
    static void sort(std::vector<ManagedObject *> &objects, const std::vector<SortDescriptor> &descriptors);

private:
    QString m_keyPath;
    bool m_ascending;
    Comparison m_comparison;
};
