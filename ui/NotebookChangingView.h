#pragma once

class MyNotebook;

// A view whose selected tasks can be put into another notebook when "changeNotebookToTasks"
// arrives.
class NotebookChangingView
{
public:
    virtual ~NotebookChangingView() = default;
    virtual void tasksChangeToNotebook(MyNotebook *notebook) = 0;
};
