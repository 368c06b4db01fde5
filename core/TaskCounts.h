#pragma once

#include <QDateTime>
#include <QString>

class ManagedObjectContext;

// How many open tasks are due when: the numbers the launch and quit panels tell and the
// launcher badge shows. Only live, open tasks with a due date, in notebooks that are not hidden,
// are counted. A count the store cannot answer is 0.
class TaskCounts
{
public:
    // Due in a range, both ends included: today (end of yesterday to end of today) and tomorrow.
    static constexpr const char *dueInRangeFormat =
        "(active == 1) && (dueDated >= %@) && (dueDated <= %@) && (completed == 0) && (notebook.hide == 0)";
    // Before the end of yesterday.
    static constexpr const char *overdueFormat =
        "(active == 1) && (dueDated < %@) && (completed == 0) && (notebook.hide == 0)";
    // By the end of today: today's and the overdue tasks together.
    static constexpr const char *dockBadgeFormat =
        "(active == 1) && (dueDated <= %@) && (completed == 0) && (notebook.hide == 0)";

    static int todayCount(const ManagedObjectContext *context);
    static int overdueCount(const ManagedObjectContext *context);
    // A task due exactly at the end of today is counted both for today and for tomorrow.
    static int tomorrowCount(const ManagedObjectContext *context);
    static int dockBadgeCount(const ManagedObjectContext *context);

    TaskCounts() = delete;

private:
    static int count(const ManagedObjectContext *context, const char *format, const QVariantList &arguments);
};
