#pragma once

#include <QVariantList>

class ManagedObjectContext;

// How many open tasks are due when: the numbers the launch and quit panels tell and the
// launcher badge shows. Only live, open tasks with a due date, in notebooks that are not hidden,
// are counted. A count the store cannot answer is 0.
class TaskCounts
{
public:
    // Due in a range, both ends included: today (end of yesterday to end of today) and tomorrow
    // (end of today to end of tomorrow), so a task due exactly at the end of today is both.
    static constexpr const char *dueInRangeFormat =
        "(active == 1) && (dueDated >= %@) && (dueDated <= %@) && (completed == 0) && (notebook.hide == 0)";
    // Before the end of yesterday.
    static constexpr const char *overdueFormat =
        "(active == 1) && (dueDated < %@) && (completed == 0) && (notebook.hide == 0)";
    // By the end of today: today's and the overdue tasks together.
    static constexpr const char *dockBadgeFormat =
        "(active == 1) && (dueDated <= %@) && (completed == 0) && (notebook.hide == 0)";

    struct Counts
    {
        int today = 0;
        int overdue = 0;
        int tomorrow = 0;
        int dockBadge = 0;
    };

    // The four counts, from one reading of the clock.
    static Counts dueCounts(const ManagedObjectContext *context);
    // The badge's count alone.
    static int dockBadgeCount(const ManagedObjectContext *context);

    TaskCounts() = delete;
};
