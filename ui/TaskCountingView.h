#pragma once

// A view that lists tasks and can tell how many it lists. The window shows that number while
// the view is on screen.
class TaskCountingView
{
public:
    virtual ~TaskCountingView() = default;
    virtual int numberOfTasksInArray() const = 0;
};
