#pragma once

#include "ui/ArrayController.h"

#include <QIcon>

// The list of the notebooks view or the tags view: the objects of one entity, in four columns:
// an icon, the name (edited in place), the number of active tasks through the transformer
// "ArrayCountValueTransformer" and, for notebooks, the check box that hides one.
//
// A name edited in place goes through the entity's setter, after leading and trailing white
// space is dropped; an empty name or an unchanged one is not written. The object renamed is
// kept until the view asks for it (takeRenamedObject), so the view checks only a name the user
// really changed. The hide box is a raw write, which stays local.
class NamedObjectArrayController : public ArrayController
{
    Q_OBJECT
public:
    enum Column { IconColumn = 0, NameColumn = 1, CountColumn = 2, HideColumn = 3 };
    // Header data in this role names a column: "icon", "name", "count", "hideNotebookColumn".
    static constexpr int IdentifierRole = Qt::UserRole + 10;
    static constexpr const char *hideColumnIdentifier = "hideNotebookColumn";

    // `withHideColumn` adds the hide box (notebooks only: tags have no `hide`).
    NamedObjectArrayController(ManagedObjectContext *context, const QString &entityName, const QIcon &icon,
                               bool withHideColumn, QObject *parent = nullptr);

    static QString name(const ManagedObject *object);

    // The object whose name the last in-place edit changed, or nullptr; forgets it.
    ManagedObject *takeRenamedObject();

    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

private:
    void refreshRow(ManagedObject *object);
    // The count column of one row, through the transformer; kept until the store changes.
    QVariant activeTaskCount(ManagedObject *object) const;
    void forgetCounts();

    QIcon m_icon;
    bool m_withHideColumn;
    ManagedObject *m_renamed = nullptr;
    // Each count walks every task of its object, and a table asks for a column's cells several
    // times over while it sizes itself and paints: they are counted once per state of the store.
    mutable QHash<const ManagedObject *, QVariant> m_counts;
};
