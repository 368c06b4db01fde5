#include "ui/NamedObjectArrayController.h"

#include "core/Localized.h"
#include "core/store/MyNotebook.h"
#include "core/store/MyTag.h"
#include "ui/ArrayCountValueTransformer.h"

NamedObjectArrayController::NamedObjectArrayController(ManagedObjectContext *context, const QString &entityName,
                                                       const QIcon &icon, bool withHideColumn, QObject *parent)
    : ArrayController(parent)
    , m_icon(icon)
    , m_withHideColumn(withHideColumn)
{
    setManagedObjectContext(context);
    setEntityName(entityName);
    // The base refreshes the first column of a changed object; the name and the hide box are
    // further along.
    if (context) {
        connect(context, &ManagedObjectContext::objectChanged, this, &NamedObjectArrayController::refreshRow);
        // Any change may move a count: a task trashed or restored, joining or leaving, a reset.
        connect(context, &ManagedObjectContext::objectChanged, this, &NamedObjectArrayController::forgetCounts);
        connect(context, &ManagedObjectContext::membershipChanged, this, &NamedObjectArrayController::forgetCounts);
        connect(context, &ManagedObjectContext::objectInserted, this, &NamedObjectArrayController::forgetCounts);
        connect(context, &ManagedObjectContext::objectDeleted, this, &NamedObjectArrayController::forgetCounts);
        connect(context, &ManagedObjectContext::contextReset, this, &NamedObjectArrayController::forgetCounts);
    }
    connect(this, &ArrayController::arrangedObjectsChanged, this, &NamedObjectArrayController::forgetCounts);
}

QVariant NamedObjectArrayController::activeTaskCount(ManagedObject *object) const
{
    const auto cached = m_counts.constFind(object);
    if (cached != m_counts.cend())
        return *cached;
    const ValueTransformer *count = ValueTransformer::valueTransformerForName(QLatin1String(ArrayCountValueTransformer::name));
    const QVariant value =
        count ? count->transformedValue(ArrayCountValueTransformer::setValue(object->toMany(QStringLiteral("notes")))) : QVariant();
    m_counts.insert(object, value);
    return value;
}

void NamedObjectArrayController::forgetCounts()
{
    if (!m_counts.isEmpty())
        m_counts.clear();
}

QString NamedObjectArrayController::name(const ManagedObject *object)
{
    return object ? object->value(QStringLiteral("name")).toString() : QString();
}

ManagedObject *NamedObjectArrayController::takeRenamedObject()
{
    return std::exchange(m_renamed, nullptr);
}

void NamedObjectArrayController::refreshRow(ManagedObject *object)
{
    const int row = indexOf(object);
    if (row >= 0)
        emit dataChanged(index(row, IconColumn), index(row, columnCount() - 1));
}

int NamedObjectArrayController::columnCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return m_withHideColumn ? HideColumn + 1 : CountColumn + 1;
}

QVariant NamedObjectArrayController::data(const QModelIndex &index, int role) const
{
    ManagedObject *object = objectAt(index.row());
    if (!object || !index.isValid() || index.column() >= columnCount())
        return {};
    if (role == ObjectRole)
        return QVariant::fromValue(object);
    switch (index.column()) {
    case IconColumn:
        return role == Qt::DecorationRole ? QVariant(m_icon) : QVariant();
    case NameColumn:
        return role == Qt::DisplayRole || role == Qt::EditRole ? QVariant(name(object)) : QVariant();
    case CountColumn:
        if (role == Qt::DisplayRole)
            return activeTaskCount(object);
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    case HideColumn:
        if (role == Qt::CheckStateRole)
            return object->value(QStringLiteral("hide")).toBool() ? Qt::Checked : Qt::Unchecked;
        return {};
    default:
        return {};
    }
}

QVariant NamedObjectArrayController::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    static const char *const identifiers[] = {"icon", "name", "count", hideColumnIdentifier};
    if (role == IdentifierRole)
        return QString::fromLatin1(identifiers[section]);
    if (role != Qt::DisplayRole)
        return {};
    switch (section) {
    case NameColumn:
        return Localized::string(QStringLiteral("NAME_COLUMN"));
    case CountColumn:
        return Localized::string(QStringLiteral("ACTIVE_TASKS_COLUMN"));
    case HideColumn:
        return Localized::string(QStringLiteral("HIDDEN_COLUMN"));
    default:
        return QString();
    }
}

Qt::ItemFlags NamedObjectArrayController::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = ArrayController::flags(index);
    if (index.isValid() && index.column() == NameColumn)
        flags |= Qt::ItemIsEditable;
    // The hide box is not user-checkable here: the notebook table toggles it on the press
    // anywhere in its cell, and the delegate must not toggle it back on the release.
    return flags;
}

bool NamedObjectArrayController::setData(const QModelIndex &index, const QVariant &value, int role)
{
    ManagedObject *object = objectAt(index.row());
    if (!object || !index.isValid())
        return false;
    if (index.column() == HideColumn && m_withHideColumn && role == Qt::CheckStateRole) {
        object->setValue(QStringLiteral("hide"), Qt::CheckState(value.toInt()) == Qt::Checked);
        return true;
    }
    if (index.column() != NameColumn || role != Qt::EditRole)
        return false;
    // Invisible white space at the ends would let two names that look alike coexist, and the
    // service refuses names that begin or end with a space.
    const QString newName = value.toString().trimmed();
    if (newName.isEmpty())
        return false;
    if (newName == name(object))
        return true;
    if (auto *notebook = dynamic_cast<MyNotebook *>(object))
        notebook->setName(newName);
    else if (auto *tag = dynamic_cast<MyTag *>(object))
        tag->setName(newName);
    else
        return false;
    m_renamed = object;
    return true;
}
