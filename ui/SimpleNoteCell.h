#pragma once

#include "core/store/MySimpleNote.h"

#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QStyledItemDelegate>

// Draws a task as a rounded card: a status ball, the title, the creation and due dates in
// small rounded labels, and the tag names. The table draws no selection of its own; the card
// shows it. Everything is measured and built afresh on each draw, so a change of the colour
// setting or of the task shows at the next repaint.
class SimpleNoteCell : public QStyledItemDelegate
{
    Q_OBJECT
public:
    struct Status
    {
        QString ballImage;
        QColor labelColor;
    };
    struct Gradient
    {
        QColor start;
        QColor end;
    };

    explicit SimpleNoteCell(QObject *parent = nullptr);

    // How near the due date is, as the ball and the due label show it.
    static Status status(const MySimpleNote &note, const QDateTime &now);
    static Gradient gradient(bool selected, bool completed, bool blueColors);
    static QString creationText(const MySimpleNote &note);
    static QString dueText(const MySimpleNote &note);
    static QString tagText(const MySimpleNote &note);
    static QString longDate(const QDate &date);
    static QFont font(qreal points);

    // Draws one task into the cell frame.
    void draw(QPainter *painter, const QRectF &frame, const MySimpleNote &note, bool selected) const;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

protected:
    // Where the second and third lines sit; the cell with the notebook name spreads them out.
    struct Lines
    {
        qreal second;       // of T, below top
        qreal third;        // of T, below top
        qreal titleBottom;  // of T, below top
        qreal tagImageTop;  // below the third line
        qreal tagTextTop;   // below the third line
        qreal contentImageBottom; // above the bottom of the content rectangle
    };
    virtual Lines lines() const;
    // Drawn between the ball and the title; nothing here.
    virtual void drawAboveTitle(QPainter *painter, const MySimpleNote &note, qreal x, qreal top, qreal width,
                                qreal titleHeight) const;
};

Q_DECLARE_METATYPE(MySimpleNote)
