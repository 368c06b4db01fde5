#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// A task's due date in its note's content: ".DT." and the day in ten characters, right before
// the closing tag. Stateless; every operation returns a new value and leaves its input alone.
// An empty content stands for a note that has none.
class DueDateContent
{
public:
    // The template with the date set; nothing when the template cannot be read.
    static std::optional<QString> newContentWithDate(const QDateTime &date);
    // Replaces the date in place, or adds it. Empty content gives newContentWithDate(). A date
    // that cannot be written in ten characters (invalid, or beyond year 9999) leaves the
    // content's own date as it was.
    static std::optional<QString> setDueDate(const QDateTime &date, const QString &content);
    // Empty content is returned as it is: it has nothing to remove.
    static QString removeDueDatedInContent(const QString &content);
    // The start of the due day in the user's time zone, or nothing.
    static std::optional<QDateTime> dueDate(const QString &content);

    DueDateContent() = delete;
};
