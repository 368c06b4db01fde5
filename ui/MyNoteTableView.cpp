#include "ui/MyNoteTableView.h"

#include "core/NotificationCenter.h"

#include <QKeyEvent>
#include <QMouseEvent>

MyNoteTableView::MyNoteTableView(QWidget *parent)
    : QListView(parent)
{
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFrameShape(QFrame::NoFrame);
    QPalette p = palette();
    p.setColor(QPalette::Base, QColor::fromRgbF(0.837f, 0.864f, 0.902f));
    setPalette(p);
    setAutoFillBackground(true);
    NotificationCenter::defaultCenter().addObserver(this, QStringLiteral("refreshTableView"),
                                                    [this](const Notification &) { viewport()->update(); });
}

MyNoteTableView::~MyNoteTableView()
{
    NotificationCenter::defaultCenter().removeObserver(this);
}

QString MyNoteTableView::completionNotificationName() const
{
    return QStringLiteral("completedTasks");
}

bool MyNoteTableView::isOnCompletionHotSpot(const QPoint &point) const
{
    const QModelIndex index = indexAt(point);
    if (!index.isValid())
        return false;
    const QRect cell = visualRect(index);
    const double middle = cell.top() + cell.height() / 2.0;
    return point.x() >= hotSpotLeft && point.x() <= hotSpotRight && std::abs(point.y() - middle) <= hotSpotHalfHeight;
}

void MyNoteTableView::mousePressEvent(QMouseEvent *event)
{
    QListView::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    if (isOnCompletionHotSpot(point) && selectionModel() && selectionModel()->selectedRows().size() == 1)
        NotificationCenter::defaultCenter().post(completionNotificationName(), this);
}

void MyNoteTableView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid()) {
        NotificationCenter::defaultCenter().post(QStringLiteral("EditSelectedTask"), this);
        return;
    }
    QListView::mouseDoubleClickEvent(event);
}

void MyNoteTableView::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        NotificationCenter::defaultCenter().post(QStringLiteral("EditSelectedTask"), this);
        return;
    case Qt::Key_Space:
        NotificationCenter::defaultCenter().post(completionNotificationName(), this);
        return;
    default:
        QListView::keyPressEvent(event);
    }
}
