#pragma once

class PreferencesController;
class QObject;

// What the preferences window tells the application delegate: the syncing settings changed (the
// timer restarts), the first synchronisation is due (its window closed after a valid user was
// saved), and the store is to be wiped (the account reset). The delegate is the one implementer;
// tests install their own.
class SyncingParamPreferencesController
{
public:
    virtual ~SyncingParamPreferencesController() = default;
    virtual void SyncingParamDidChanged(PreferencesController *sender) = 0;
    virtual void SyncingParamFirstSync(PreferencesController *sender) = 0;
    // False when the store could not be wiped: then nothing else of the reset happens.
    virtual bool DeleteDatabase(QObject *sender) = 0;
};
