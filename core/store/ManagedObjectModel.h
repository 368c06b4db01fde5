#pragma once

#include "core/store/EntityDescription.h"

#include <QString>

#include <memory>
#include <vector>

// The object model: entities, attributes with types and defaults, relationships with their
// inverses and delete rules, and a schema version. Read from a JSON resource.
class ManagedObjectModel
{
public:
    static constexpr const char *defaultResource = ":/model/Kelvara.json";

    // Returns nullptr (and a reason) when the resource is missing or malformed.
    static std::shared_ptr<ManagedObjectModel> load(const QString &path, QString *error = nullptr);
    static std::shared_ptr<ManagedObjectModel> fromJson(const QByteArray &json, QString *error = nullptr);

    int version() const { return m_version; }
    const std::vector<std::unique_ptr<EntityDescription>> &entities() const { return m_entities; }
    const EntityDescription *entity(const QString &name) const;

private:
    int m_version = 0;
    std::vector<std::unique_ptr<EntityDescription>> m_entities;
};
