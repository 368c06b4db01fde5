#pragma once

#include <QString>
#include <QStringList>

// Named system sounds, played through the desktop's sound theme (libcanberra). The names are
// the ones the settings keep ("Pop", "Glass", ...); each maps to a freedesktop sound event.
// Playing never blocks and never fails loudly: a desktop without sound simply stays quiet.
class SystemSound
{
public:
    static QStringList availableSounds();
    static QString eventIdFor(const QString &name);
    static void play(const QString &name);
    // What was last asked to play, and how many times anything was (for the preferences'
    // preview and for tests).
    static QString lastPlayed();
    static int playCount();

    SystemSound() = delete;
};
