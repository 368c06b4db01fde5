#include "ui/SimpleNoteCellWithNotebook.h"

#include "core/store/MyNotebook.h"

#include <QFontMetricsF>
#include <QPainter>

SimpleNoteCell::Lines SimpleNoteCellWithNotebook::lines() const
{
    return {0.5, 0.85, 0.45, 3, 1, 3};
}

void SimpleNoteCellWithNotebook::drawAboveTitle(QPainter *painter, const MySimpleNote &note, qreal x, qreal top,
                                                qreal width, qreal titleHeight) const
{
    const QFont notebookFont = font(9);
    const QString name = note.notebook ? note.notebook->name() : QString();
    const qreal hn = QFontMetricsF(notebookFont).height();
    painter->setFont(notebookFont);
    painter->setPen(QColor::fromRgbF(1, 0, 0));
    const QRectF box(x, top - hn, width, titleHeight);
    painter->drawText(box, Qt::AlignLeft | Qt::AlignTop, QFontMetricsF(notebookFont).elidedText(name, Qt::ElideRight, width));
}

QSize SimpleNoteCellWithNotebook::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QSize size = SimpleNoteCell::sizeHint(option, index);
    size.rheight() += QFontMetricsF(font(9)).height();
    return size;
}
