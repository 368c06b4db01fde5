#pragma once

#include <QColor>
#include <QFrame>

// A box that takes task rows dragged from the list and asks for them to be moved to another
// notebook ("moveTasks" with the rows under "Indexes"). While a drag it accepts hovers over
// it, its border turns blue.
class MyBoxDrop : public QFrame
{
    Q_OBJECT
public:
    explicit MyBoxDrop(QWidget *parent = nullptr);

    QColor originalColor() const { return m_originalColor; }
    QColor borderColor() const { return m_borderColor; }

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void restoreBorder();

    QColor m_originalColor;
    double m_originalWith = 1.0;
    QColor m_borderColor;
    double m_borderWidth = 1.0;
};
