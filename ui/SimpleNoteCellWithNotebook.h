#pragma once

#include "ui/SimpleNoteCell.h"

// The task card of the lists that mix notebooks: the notebook's name in red above the title.
class SimpleNoteCellWithNotebook : public SimpleNoteCell
{
    Q_OBJECT
public:
    using SimpleNoteCell::SimpleNoteCell;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

protected:
    Lines lines() const override;
    void drawAboveTitle(QPainter *painter, const MySimpleNote &note, qreal x, qreal top, qreal width,
                        qreal titleHeight) const override;
};
