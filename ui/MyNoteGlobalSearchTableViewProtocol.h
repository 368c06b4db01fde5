#pragma once

// What the global search's result table asks of its controller on a double click.
class MyNoteGlobalSearchTableViewProtocol
{
public:
    virtual ~MyNoteGlobalSearchTableViewProtocol() = default;
    // Hand the selected result, if there is one, to the task list's editor.
    virtual void editSearchedObject() = 0;
};
