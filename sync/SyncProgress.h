#pragma once

// How far a run is, for the status in the window: the step it is in and its count.
struct SyncProgress
{
    enum Phase { Sending, Receiving };
    Phase phase = Sending;
    int done = 0;
    int total = 0;
};
