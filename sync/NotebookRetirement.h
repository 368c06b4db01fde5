#pragma once

class MyNotebook;
class SyncWriteScope;

// A notebook leaving the store for good (deleted here and on the service, or expunged there)
// never takes tasks with it. What is still in it goes where the service puts the notes of an
// expunged notebook: the receiving notebook (the account's default one, or another that
// stays), into the trash; a task the service never had goes out from there as a new one. With
// nowhere to go the notebook stays, marked deleted, and the next run tries again.
class NotebookRetirement
{
public:
    // In a hop. True when the notebook left the store.
    static bool retire(SyncWriteScope &scope, MyNotebook *notebook);

    NotebookRetirement() = delete;
};
