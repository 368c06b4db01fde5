#pragma once

#include <QAnyStringView>
#include <QMetaType>
#include <QVariant>
#include <QVariantMap>

#include <limits>
#include <vector>

// Every settings key of the application, with its type and registered default, in one place.
namespace Key {
inline constexpr const char *SyncingActive = "SyncingActive";
inline constexpr const char *SyncingInterval = "SyncingInterval";
inline constexpr const char *firstSync = "firstSync";
inline constexpr const char *chunkHighUSN = "chunkHighUSN";
inline constexpr const char *notesOrder = "notesOrder";
inline constexpr const char *blueTaskColors = "blueTaskColors";
inline constexpr const char *showTasksStatusPanel = "showTasksStatusPanel";
inline constexpr const char *showTasksStatusPanelAtEnd = "showTasksStatusPanelAtEnd";
inline constexpr const char *StartInTasksView = "StartInTasksView";
inline constexpr const char *completedSound = "completedSound";
inline constexpr const char *enableNotebookForCompleted = "enableNotebookForCompleted";
inline constexpr const char *SyncWhenQuit = "SyncWhenQuit";
inline constexpr const char *SyncOnLaunch = "SyncOnLaunch";
inline constexpr const char *SearchInContent = "SearchInContent";
inline constexpr const char *ShowDockTile = "ShowDockTile";
inline constexpr const char *UserName = "UserName";
inline constexpr const char *notebookForCompleted = "notebookForCompleted";
inline constexpr const char *defaultNotebook = "defaultNotebook";
inline constexpr const char *lastUsedNotebook = "lastUsedNotebook";
inline constexpr const char *MainWindowFrame = "MainWindowFrame";
} // namespace Key

// The automatic synchronisation intervals, in seconds.
inline constexpr double MANUALLY = 0.0;
inline constexpr double THREEMINUTES = 180.0;
inline constexpr double FIVEMINUTES = 300.0;
inline constexpr double FIFTEENMINUTES = 900.0;
inline constexpr double THIRTYMINUTES = 1800.0;
inline constexpr double ONEHOUR = 3600.0;

class SettingsKeys
{
public:
    struct Definition
    {
        const char *key;
        QMetaType::Type type;
        QVariant registeredDefault; // invalid: the key has no registered default
        // The values an integer key may hold; a double key holds one of the sync intervals.
        qint64 minimum = std::numeric_limits<qint32>::min();
        qint64 maximum = std::numeric_limits<qint32>::max();
    };
    struct Interval
    {
        double seconds;
        const char *menuItemKey;
    };

    static const std::vector<Definition> &definitions();
    // The key's definition, or nullptr for a key that is not one of ours.
    static const Definition *definition(QAnyStringView key);
    // A stored value as the key's type: text read back from the settings file ("true", "900")
    // becomes a bool or a number. Invalid when the value is not of the key's type or is outside
    // its range, so that it reads as the registered default.
    static QVariant typedValue(const Definition &definition, const QVariant &stored);
    // The registered defaults, ready for Defaults::registerDefaults().
    static QVariantMap registeredDefaults();
    // The six synchronisation intervals in menu order.
    static const std::vector<Interval> &intervals();

    SettingsKeys() = delete;
};
