#pragma once

#include <QProcess>

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

// A test that CTest kills at its timeout must not leave its helper processes (a private bus, a
// re-run of itself) running on: the child gets SIGKILL the moment its parent goes.
inline void dieWithParent()
{
    prctl(PR_SET_PDEATHSIG, SIGKILL);
}

inline void diesWithParent(QProcess &process)
{
    process.setChildProcessModifier([] { dieWithParent(); });
}
