#include "core/SettingsKeys.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <optional>

const std::vector<SettingsKeys::Definition> &SettingsKeys::definitions()
{
    static const std::vector<Definition> table = {
        {Key::SyncingActive, QMetaType::Bool, false},
        {Key::SyncingInterval, QMetaType::Double, MANUALLY},
        {Key::firstSync, QMetaType::Bool, true},
        // Update sequence numbers are 32-bit and never negative.
        {Key::chunkHighUSN, QMetaType::Int, 0, 0},
        {Key::notesOrder, QMetaType::Int, 0, 0, 3},
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
        {Key::lastUsedNotebook, QMetaType::Int, QVariant(), 0},
        {Key::MainWindowFrame, QMetaType::QByteArray, QVariant()},
    };
    return table;
}

const SettingsKeys::Definition *SettingsKeys::definition(QAnyStringView key)
{
    static const QHash<QString, const Definition *> byKey = [] {
        QHash<QString, const Definition *> map;
        for (const Definition &d : definitions())
            map.insert(QString::fromLatin1(d.key), &d);
        return map;
    }();
    return byKey.value(key.toString());
}

namespace {
bool isNumber(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

// A whole number from a number or from its text; nothing for "abc", "1.5" or "".
std::optional<qint64> wholeNumber(const QVariant &v)
{
    bool ok = false;
    if (v.typeId() == QMetaType::QString) {
        const qint64 i = v.toString().trimmed().toLongLong(&ok);
        return ok ? std::optional<qint64>(i) : std::nullopt;
    }
    if (!isNumber(v))
        return std::nullopt;
    if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float) {
        const double d = v.toDouble();
        if (!std::isfinite(d) || d != std::trunc(d) || std::abs(d) > 9.0e15)
            return std::nullopt;
        return qint64(d);
    }
    const qint64 i = v.toLongLong(&ok);
    return ok ? std::optional<qint64>(i) : std::nullopt;
}
} // namespace

QVariant SettingsKeys::typedValue(const Definition &definition, const QVariant &stored)
{
    if (!stored.isValid())
        return {};
    switch (definition.type) {
    case QMetaType::Bool: {
        if (stored.typeId() == QMetaType::Bool)
            return stored;
        // QSettings writes a boolean as "true" or "false"; a hand-edited 1 or 0 is one too.
        if (stored.typeId() == QMetaType::QString) {
            const QString text = stored.toString().trimmed().toLower();
            if (text == u"true" || text == u"1")
                return true;
            if (text == u"false" || text == u"0")
                return false;
            return {};
        }
        const std::optional<qint64> i = isNumber(stored) ? wholeNumber(stored) : std::nullopt;
        if (i && (*i == 0 || *i == 1))
            return *i == 1;
        return {};
    }
    case QMetaType::Int: {
        const std::optional<qint64> i = wholeNumber(stored);
        if (!i || *i < definition.minimum || *i > definition.maximum)
            return {};
        return qlonglong(*i);
    }
    case QMetaType::Double: {
        if (stored.typeId() != QMetaType::QString && !isNumber(stored))
            return {};
        bool ok = false;
        const double d = stored.typeId() == QMetaType::QString ? stored.toString().trimmed().toDouble(&ok) : stored.toDouble(&ok);
        if (!ok)
            return {};
        // The only double key is the sync interval: one of the menu's six values.
        const auto &all = intervals();
        if (std::none_of(all.begin(), all.end(), [d](const Interval &interval) { return interval.seconds == d; }))
            return {};
        return d;
    }
    case QMetaType::QString:
        if (stored.typeId() == QMetaType::QString)
            return stored;
        return isNumber(stored) ? QVariant(stored.toString()) : QVariant();
    case QMetaType::QByteArray:
        return stored.typeId() == QMetaType::QByteArray ? stored : QVariant();
    default:
        return stored;
    }
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
