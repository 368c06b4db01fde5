#pragma once

// A view whose selected tasks can be marked completed (or open again) from the window's
// command.
class TaskCompletingView
{
public:
    virtual ~TaskCompletingView() = default;
    virtual void markTasksAsCompleted() = 0;
};
