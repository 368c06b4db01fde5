#pragma once

#include <QString>

// A title or name in the form the note service takes it, whatever the store holds: the service
// refuses a note, notebook or tag whose name has control characters, white space at either end,
// or a length outside its limits (NameLimits), and a tag name with a comma. The entry fields
// keep most of that out of the store, but synchronisation, older stores and other clients bring
// names in by other ways, and one refused name would keep its object from ever being sent.
//
// Line breaks, tabs and the other white-space controls become one space; every other control
// character, and an unpaired surrogate, goes. In a tag name, each comma with the white space and
// commas around it becomes one space ("Work, urgent" is sent as "Work urgent"). The ends are
// trimmed and the text is cut to the limit, never inside a surrogate pair. A name with nothing
// left takes the name a new object of its kind gets (the localised "NEW_TASK", "NEW_NOTEBOOK",
// "NEW_TAG").
class ServiceName
{
public:
    static QString noteTitle(const QString &title);
    static QString notebookName(const QString &name);
    // The same name both where the tag itself is sent and where a note names its tags, so that
    // the note names the tag and does not make a new one.
    static QString tagName(const QString &name);

    ServiceName() = delete;
};
