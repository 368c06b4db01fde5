#pragma once

#include "ui/EnteredText.h"

#include <QStyledItemDelegate>

class ManagedObject;

// The in-place editor of the names in the notebooks and tags tables. A name typed there is
// handed to the list without the white space at its ends; a name the service would refuse
// (empty, too long, a comma in a tag's name) is not handed over but announced with what was
// typed, so that the view can say why and let the user go on from that text.
class NameEditDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    NameEditDelegate(EnteredText::Kind kind, QObject *parent = nullptr);

    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

signals:
    // `typed` is the editor's text as it was; `reason` the localised refusal.
    void nameRefused(ManagedObject *object, const QString &typed, const QString &reason);

private:
    EnteredText::Kind m_kind;
};
