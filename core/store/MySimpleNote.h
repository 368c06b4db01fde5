#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

class MyNotebook;
class MyTag;

// The display copy of a task that the task cells draw. The object fields are shared with the
// store (objects live as long as the store context), everything else is copied.
struct MySimpleNote
{
    QString title;
    QDateTime dueDated; // invalid: no due date
    qint64 created = 0;
    bool completed = false;
    QList<MyTag *> tags;
    MyNotebook *notebook = nullptr;
    bool hasContent = false;
};
