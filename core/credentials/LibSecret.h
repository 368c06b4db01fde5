#pragma once

// libsecret and GLib for the files that use them beside Qt. Qt defines "signals" as a keyword;
// GLib uses it as a field name.
#pragma push_macro("signals")
#undef signals
// For the session object path, which libsecret marks as subject to change.
#ifndef SECRET_API_SUBJECT_TO_CHANGE
#define SECRET_API_SUBJECT_TO_CHANGE
#endif
#include <libsecret/secret.h>
#pragma pop_macro("signals")
