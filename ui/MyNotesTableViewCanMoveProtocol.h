#pragma once

// Answers whether the task list may be reordered by hand right now.
class MyNotesTableViewCanMoveProtocol
{
public:
    virtual ~MyNotesTableViewCanMoveProtocol() = default;
    virtual bool canMove() const = 0;
};
