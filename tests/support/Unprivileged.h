#pragma once

#include <sys/types.h>
#include <unistd.h>

// File permissions do not bind root: a test about an unwritable file runs, while one of these
// lives, as the unprivileged user "nobody" when the suite itself runs as root (as it does in
// containers). Files the test makes meanwhile belong to that user.
class Unprivileged
{
public:
    Unprivileged()
    {
        if (geteuid() == 0)
            m_switched = setegid(nobody) == 0 && seteuid(nobody) == 0;
    }
    ~Unprivileged()
    {
        if (m_switched && seteuid(0) == 0)
            (void)setegid(0);
    }
    Unprivileged(const Unprivileged &) = delete;
    Unprivileged &operator=(const Unprivileged &) = delete;

    // False when permissions still do not apply to this process (root could not switch).
    bool active() const { return geteuid() != 0; }

private:
    static constexpr uid_t nobody = 65534;
    bool m_switched = false;
};
