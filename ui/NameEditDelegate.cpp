#include "ui/NameEditDelegate.h"

#include "ui/ArrayController.h"

#include <QLineEdit>

NameEditDelegate::NameEditDelegate(EnteredText::Kind kind, QObject *parent)
    : QStyledItemDelegate(parent)
    , m_kind(kind)
{
}

void NameEditDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    auto *line = qobject_cast<QLineEdit *>(editor);
    if (!line) {
        QStyledItemDelegate::setModelData(editor, model, index);
        return;
    }
    const QString typed = line->text();
    const QString name = EnteredText::trimmed(typed);
    const QString refusal = EnteredText::refusal(m_kind, name);
    if (refusal.isEmpty()) {
        model->setData(index, name, Qt::EditRole);
        return;
    }
    auto *object = index.data(ArrayController::ObjectRole).value<ManagedObject *>();
    // Handing over is const for the views; the refusal is news for the view, not a change here.
    emit const_cast<NameEditDelegate *>(this)->nameRefused(object, typed, refusal);
}
