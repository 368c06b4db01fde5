#include "core/TaskCounts.h"

#include "core/DayBoundaries.h"
#include "core/Log.h"
#include "core/store/ManagedObjectContext.h"
#include "core/store/MyNote.h"

#include <exception>

int TaskCounts::count(const ManagedObjectContext *context, const char *format, const QVariantList &arguments)
{
    if (!context)
        return 0;
    try {
        return context->count(QLatin1String(MyNote::entityName),
                              Predicate::withFormat(QLatin1String(format), arguments));
    } catch (const std::exception &e) {
        Log::line(QStringLiteral("Task count failed: %@"), {QString::fromUtf8(e.what())});
        return 0;
    }
}

int TaskCounts::todayCount(const ManagedObjectContext *context)
{
    return count(context, dueInRangeFormat, {DayBoundaries::justFinishInDays(-1), DayBoundaries::justFinishInDays(0)});
}

int TaskCounts::overdueCount(const ManagedObjectContext *context)
{
    return count(context, overdueFormat, {DayBoundaries::justFinishInDays(-1)});
}

int TaskCounts::tomorrowCount(const ManagedObjectContext *context)
{
    return count(context, dueInRangeFormat, {DayBoundaries::justFinishInDays(0), DayBoundaries::justFinishInDays(1)});
}

int TaskCounts::dockBadgeCount(const ManagedObjectContext *context)
{
    return count(context, dockBadgeFormat, {DayBoundaries::justFinishInDays(0)});
}
