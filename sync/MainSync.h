#pragma once

#include "sync/SyncRun.h"

// Every run after the first: it sends what changed here since the last run (deletions, new and
// changed objects, in a fixed order), then takes in what changed on the service after the
// stored "chunkHighUSN": the objects it expunged, and new or changed notebooks, tags and notes.
class MainSync : public SyncRun
{
public:
    using SyncRun::SyncRun;

protected:
    void steps(SyncSession &session) override;
};
