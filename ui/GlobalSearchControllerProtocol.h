#pragma once

class MyNote;

// What the global search hands back to the task list: a task to open in the editor, and the
// end of the search.
class GlobalSearchControllerProtocol
{
public:
    virtual ~GlobalSearchControllerProtocol() = default;
    // Show the task's notebook, select the task and open its editor.
    virtual void editSearchedObject(MyNote *task) = 0;
    // The search window closed: show the notebook shown before the search.
    virtual void releaseSearchedObject() = 0;
};
