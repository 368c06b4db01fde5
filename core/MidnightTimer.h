#pragma once

#include <QDate>
#include <QDateTime>
#include <QObject>
#include <QTimer>

// The daily refresh after midnight, so that the lists' day ranges, due-date styles and the
// counts follow the new day.
//
// The first refresh runs at one minute past the next midnight, plus the second of the minute
// at which the timer was started; every refresh schedules the next for one minute past the
// following midnight, worked out on the calendar, so a day of 23 or 25 hours does not shift it
// off midnight. A computer asleep at midnight misses the timer (it does not run during sleep):
// refreshIfDayChanged() catches up when the user comes back.
class MidnightTimer : public QObject
{
    Q_OBJECT
public:
    explicit MidnightTimer(QObject *parent = nullptr);
    ~MidnightTimer() override;

    // Schedules the launcher; the day of now counts as refreshed.
    void start();
    // The launcher's action: the first refresh, which starts the daily timer.
    void launchTimerAtMidnight();
    // The daily refresh: announces the new day and schedules the next refresh.
    void midnightOperations();
    // Runs the daily refresh when the day changed since the last one; true when it ran.
    bool refreshIfDayChanged();

    // When the next refresh is due (invalid before start()).
    QDateTime nextRefresh() const { return m_nextRefresh; }
    QDate lastRefreshDay() const { return m_lastRefreshDay; }
    const QTimer &launcher() const { return m_launcher; }
    const QTimer &midnightTimer() const { return m_midnightTimer; }

signals:
    void dayChanged();

private:
    void schedule(QTimer &timer);

    QTimer m_launcher;
    QTimer m_midnightTimer;
    QDateTime m_nextRefresh;
    QDate m_lastRefreshDay;
};
