#pragma once

#include "core/AppError.h"

// How the layers below the GUI show an error to the user. The GUI installs an implementation
// that raises an alert on the main window; tests install one that records what was shown.
// Without one, errors go to the log.
class ErrorPresenter
{
public:
    virtual ~ErrorPresenter() = default;
    // Returns true when the user's response resolved the error (a recovery succeeded).
    virtual bool presentError(const AppError &error) = 0;

    static void install(ErrorPresenter *presenter); // not owned; nullptr restores the log
    static bool present(const AppError &error);     // through the installed presenter
};
