#include "core/store/ManagedObjectModel.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
bool parseType(const QString &text, AttributeType *type)
{
    static const QHash<QString, AttributeType> types = {
        {QStringLiteral("string"), AttributeType::String},     {QStringLiteral("date"), AttributeType::Date},
        {QStringLiteral("boolean"), AttributeType::Boolean},   {QStringLiteral("int16"), AttributeType::Integer16},
        {QStringLiteral("int32"), AttributeType::Integer32},   {QStringLiteral("int64"), AttributeType::Integer64},
        {QStringLiteral("double"), AttributeType::Double},
    };
    auto it = types.constFind(text);
    if (it == types.constEnd())
        return false;
    *type = *it;
    return true;
}

QVariant slotDefault(const AttributeDescription &a, const QJsonValue &value)
{
    if (value.isUndefined() || value.isNull())
        return {};
    switch (a.type) {
    case AttributeType::String:
        return value.toString();
    case AttributeType::Double:
        return value.toDouble();
    case AttributeType::Date:
    case AttributeType::Boolean:
    case AttributeType::Integer16:
    case AttributeType::Integer32:
    case AttributeType::Integer64:
        return qlonglong(value.toDouble());
    }
    return {};
}

bool parseDeleteRule(const QString &text, DeleteRule *rule)
{
    if (text.isEmpty() || text == u"nullify")
        *rule = DeleteRule::Nullify;
    else if (text == u"cascade")
        *rule = DeleteRule::Cascade;
    else if (text == u"deny")
        *rule = DeleteRule::Deny;
    else if (text == u"noAction")
        *rule = DeleteRule::NoAction;
    else
        return false;
    return true;
}
} // namespace

std::shared_ptr<ManagedObjectModel> ManagedObjectModel::load(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return nullptr;
    }
    return fromJson(file.readAll(), error);
}

std::shared_ptr<ManagedObjectModel> ManagedObjectModel::fromJson(const QByteArray &json, QString *error)
{
    auto fail = [&](const QString &why) -> std::shared_ptr<ManagedObjectModel> {
        if (error)
            *error = why;
        return nullptr;
    };
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (!doc.isObject())
        return fail(parseError.errorString());
    const QJsonObject root = doc.object();
    auto model = std::make_shared<ManagedObjectModel>();
    model->m_version = root.value(QStringLiteral("version")).toInt();
    if (model->m_version <= 0)
        return fail(QStringLiteral("the model has no version"));

    for (const QJsonValue &e : root.value(QStringLiteral("entities")).toArray()) {
        const QJsonObject eo = e.toObject();
        std::vector<AttributeDescription> attributes;
        for (const QJsonValue &a : eo.value(QStringLiteral("attributes")).toArray()) {
            const QJsonObject ao = a.toObject();
            AttributeDescription attribute;
            attribute.name = ao.value(QStringLiteral("name")).toString();
            if (attribute.name.isEmpty() || !parseType(ao.value(QStringLiteral("type")).toString(), &attribute.type))
                return fail(QStringLiteral("bad attribute in %1").arg(eo.value(QStringLiteral("name")).toString()));
            attribute.optional = ao.value(QStringLiteral("optional")).toBool();
            attribute.defaultValue = slotDefault(attribute, ao.value(QStringLiteral("default")));
            attributes.push_back(std::move(attribute));
        }
        std::vector<RelationshipDescription> relationships;
        for (const QJsonValue &r : eo.value(QStringLiteral("relationships")).toArray()) {
            const QJsonObject ro = r.toObject();
            RelationshipDescription relationship;
            relationship.name = ro.value(QStringLiteral("name")).toString();
            relationship.destinationName = ro.value(QStringLiteral("destination")).toString();
            relationship.inverseName = ro.value(QStringLiteral("inverse")).toString();
            relationship.toMany = ro.value(QStringLiteral("toMany")).toBool();
            if (!parseDeleteRule(ro.value(QStringLiteral("deleteRule")).toString(), &relationship.deleteRule))
                return fail(QStringLiteral("bad delete rule for %1").arg(relationship.name));
            relationships.push_back(std::move(relationship));
        }
        auto entity = std::make_unique<EntityDescription>(eo.value(QStringLiteral("name")).toString(),
                                                          std::move(attributes), std::move(relationships));
        entity->setIndex(int(model->m_entities.size()));
        model->m_entities.push_back(std::move(entity));
    }

    // Every relationship must have its inverse: the store keeps both sides in step.
    for (auto &entity : model->m_entities) {
        for (RelationshipDescription &r : entity->relationships()) {
            r.destination = model->entity(r.destinationName);
            if (!r.destination)
                return fail(QStringLiteral("%1.%2 points to an unknown entity").arg(entity->name(), r.name));
            r.inverseIndex = r.destination->relationshipIndex(r.inverseName);
            if (r.inverseIndex < 0
                || r.destination->relationship(r.inverseIndex).destinationName != entity->name()
                || r.destination->relationship(r.inverseIndex).inverseName != r.name)
                return fail(QStringLiteral("%1.%2 has no matching inverse").arg(entity->name(), r.name));
        }
    }
    return model;
}

const EntityDescription *ManagedObjectModel::entity(const QString &name) const
{
    for (const auto &e : m_entities) {
        if (e->name() == name)
            return e.get();
    }
    return nullptr;
}
