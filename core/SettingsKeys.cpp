#include "core/SettingsKeys.h"

const std::vector<SettingsKeys::Definition> &SettingsKeys::definitions()
{
    static const std::vector<Definition> table = {
        {Key::SyncingActive, QMetaType::Bool, false},
        {Key::SyncingInterval, QMetaType::Double, MANUALLY},
        {Key::firstSync, QMetaType::Bool, true},
        {Key::chunkHighUSN, QMetaType::Int, 0},
        {Key::notesOrder, QMetaType::Int, 0},
        {Key::blueTaskColors, QMetaType::Bool, true},
        {Key::showTasksStatusPanel, QMetaType::Bool, true},
        {Key::showTasksStatusPanelAtEnd, QMetaType::Bool, true},
        {Key::StartInTasksView, QMetaType::Bool, true},
        {Key::completedSound, QMetaType::QString, QStringLiteral("Pop")},
        {Key::enableNotebookForCompleted, QMetaType::Bool, false},
        {Key::SyncWhenQuit, QMetaType::Bool, false},
        {Key::SyncOnLaunch, QMetaType::Bool, true},
        {Key::SearchInContent, QMetaType::Bool, false},
        {Key::ShowDockTile, QMetaType::Bool, true},
        {Key::UserName, QMetaType::QString, QVariant()},
        {Key::notebookForCompleted, QMetaType::QString, QVariant()},
        {Key::defaultNotebook, QMetaType::QString, QVariant()},
        {Key::lastUsedNotebook, QMetaType::Int, QVariant()},
        {Key::MainWindowFrame, QMetaType::QByteArray, QVariant()},
    };
    return table;
}

QVariantMap SettingsKeys::registeredDefaults()
{
    QVariantMap map;
    for (const Definition &d : definitions()) {
        if (d.registeredDefault.isValid())
            map.insert(QString::fromLatin1(d.key), d.registeredDefault);
    }
    return map;
}

const std::vector<SettingsKeys::Interval> &SettingsKeys::intervals()
{
    static const std::vector<Interval> table = {
        {MANUALLY, "SYNC_MANUAL"},         {THREEMINUTES, "SYNC_THREE"},  {FIVEMINUTES, "SYNC_FIVE"},
        {FIFTEENMINUTES, "SYNC_FIFTEEN"}, {THIRTYMINUTES, "SYNC_THIRTY"}, {ONEHOUR, "SYNC_HOUR"},
    };
    return table;
}
