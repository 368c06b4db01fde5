#include "core/platform/SystemSound.h"

#include "core/Log.h"

#include <QMutex>
#include <QMutexLocker>

#include <canberra.h>

namespace {
struct Sound
{
    const char *name;
    const char *eventId;
};

// The settings' names and the freedesktop theme's nearest sounds.
constexpr Sound sounds[] = {
    {"Pop", "complete"},          {"Glass", "bell"},           {"Ping", "message-new-instant"},
    {"Purr", "message"},          {"Tink", "dialog-information"}, {"Hero", "service-login"},
    {"Submarine", "device-added"}, {"Funk", "dialog-warning"},  {"Basso", "dialog-error"},
};

struct Player
{
    QMutex mutex;
    ca_context *context = nullptr;
    bool tried = false;
    QString last;
    int count = 0;
};

Player &player()
{
    static Player p;
    return p;
}
} // namespace

QStringList SystemSound::availableSounds()
{
    QStringList names;
    for (const Sound &s : sounds)
        names << QString::fromLatin1(s.name);
    return names;
}

QString SystemSound::eventIdFor(const QString &name)
{
    for (const Sound &s : sounds) {
        if (name == QLatin1String(s.name))
            return QString::fromLatin1(s.eventId);
    }
    return name; // a theme event given by its own name
}

void SystemSound::play(const QString &name)
{
    Player &p = player();
    QMutexLocker lock(&p.mutex);
    p.last = name;
    ++p.count;
    if (!p.tried) {
        p.tried = true;
        if (ca_context_create(&p.context) != CA_SUCCESS)
            p.context = nullptr;
        else
            ca_context_change_props(p.context, CA_PROP_APPLICATION_NAME, "Kelvara", CA_PROP_APPLICATION_ID,
                                    "kelvara", nullptr);
    }
    if (!p.context)
        return;
    const QByteArray id = eventIdFor(name).toUtf8();
    int rc = ca_context_play(p.context, 0, CA_PROP_EVENT_ID, id.constData(), CA_PROP_EVENT_DESCRIPTION,
                             "Task completed", nullptr);
    // A sound the theme lacks still says "done": the theme's own completion sound.
    if (rc == CA_ERROR_NOTFOUND && id != "complete")
        rc = ca_context_play(p.context, 0, CA_PROP_EVENT_ID, "complete", CA_PROP_EVENT_DESCRIPTION, "Task completed",
                             nullptr);
    if (rc != CA_SUCCESS && rc != CA_ERROR_NOTAVAILABLE && rc != CA_ERROR_NOTFOUND && rc != CA_ERROR_DISABLED)
        Log::line(QStringLiteral("Could not play the sound %@: %@"), {name, QString::fromUtf8(ca_strerror(rc))});
}

QString SystemSound::lastPlayed()
{
    QMutexLocker lock(&player().mutex);
    return player().last;
}

int SystemSound::playCount()
{
    QMutexLocker lock(&player().mutex);
    return player().count;
}
