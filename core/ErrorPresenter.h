#pragma once

#include "core/AppError.h"

#include <QString>

// How the layers below the GUI show a failure to the user. One interface carries both kinds, so
// that the GUI installs one object at start and a test replaces one: the store's errors
// (presentError) and the synchronisation's error panes (showErrorPane, reached through
// ErrorPane). The GUI's presenter raises alerts on the main window; tests install one that
// records what was shown. Without one, both go to the log.
//
// Either may be called on any thread. Off the main thread, and on the main thread while it runs a
// worker's blocking call, presenting must not wait for the user: the worker would stay parked.
class ErrorPresenter
{
public:
    virtual ~ErrorPresenter() = default;
    // Returns true when the user's response resolved the error (a recovery succeeded).
    virtual bool presentError(const AppError &error) = 0;
    // "Error", the message exactly as given, and "OK". Never waits for the user.
    virtual void showErrorPane(const QString &message) = 0;

    static void install(ErrorPresenter *presenter); // not owned; nullptr restores the log
    static bool present(const AppError &error);     // through the installed presenter
    static void showPane(const QString &message);   // through the installed presenter
};
