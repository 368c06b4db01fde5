#include "ui/MyBoxDrop.h"

#include "core/NotificationCenter.h"
#include "ui/MyNotesArrayController.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>

MyBoxDrop::MyBoxDrop(QWidget *parent)
    : QFrame(parent)
    , m_originalColor(palette().color(QPalette::Mid))
    , m_borderColor(m_originalColor)
{
    setAcceptDrops(true);
    setMinimumHeight(36);
}

void MyBoxDrop::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasFormat(QString::fromLatin1(MyNotesArrayController::dragType))
        && (event->possibleActions() & Qt::MoveAction)) {
        m_borderColor = QColor::fromRgbF(0.0f, 0.502f, 1.0f, 1.0f);
        m_borderWidth = 2.0;
        event->setDropAction(Qt::MoveAction);
        event->accept();
        update();
        return;
    }
    event->ignore();
}

void MyBoxDrop::dragLeaveEvent(QDragLeaveEvent *event)
{
    restoreBorder();
    QFrame::dragLeaveEvent(event);
}

void MyBoxDrop::dropEvent(QDropEvent *event)
{
    restoreBorder();
    const QList<int> rows =
        MyNotesArrayController::unarchiveRows(event->mimeData()->data(QString::fromLatin1(MyNotesArrayController::dragType)));
    event->setDropAction(Qt::MoveAction);
    event->accept();
    NotificationCenter::defaultCenter().post(QStringLiteral("moveTasks"), this,
                                             {{QStringLiteral("Indexes"), QVariant::fromValue(rows)}});
}

void MyBoxDrop::restoreBorder()
{
    m_borderColor = m_originalColor;
    m_borderWidth = m_originalWith;
    update();
}

void MyBoxDrop::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal inset = m_borderWidth / 2 + 0.5;
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset), 6, 6);
    painter.setPen(QPen(m_borderColor, m_borderWidth, Qt::DashLine));
    painter.drawPath(path);
}
