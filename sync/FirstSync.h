#pragma once

#include "sync/SyncRun.h"

// The run that joins a store to the account, once, while "firstSync" is on: it sends what was
// never on the service, takes in everything the account holds (each object the store lacks;
// a note also when it is newer than its task), and turns "firstSync" off when every step is done.
class FirstSync : public SyncRun
{
public:
    using SyncRun::SyncRun;

protected:
    void steps(SyncSession &session) override;
    // The whole account is fetched, whatever was stored.
    int32_t startingMark(int32_t) const override { return 0; }
};
