#pragma once

// The first synchronisation of an empty store is measured in a fresh child process per
// iteration, as a user's first run meets it: the peak memory (VmHWM) of a process only grows, so
// a run in a process that already synchronised, or built a 50,000-task store, would show nothing.
// The child builds the account and the store, runs once and prints "name value" lines.
class FirstSyncChild
{
public:
    // The argument that makes the benchmark executable such a child.
    static constexpr const char *childArgument = "--first-sync-child";

    // The child's side; returns its exit code.
    static int run();

    FirstSyncChild() = delete;
};
