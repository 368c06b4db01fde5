#pragma once

#include "core/AppError.h"

#include <QString>

// Why the task store cannot be opened or written, told in plain words, and what the user can do
// about it. SQLite's result code says what kind of failure it was; the file system, looked at
// when the failure is reported, says which file or folder is to blame.
class StoreProblem
{
public:
    enum class Cause {
        FileNotWritable,   // the store or one of its journal files
        FolderNotWritable, // the journal files cannot be created beside the store
        ReadOnlyDisk,
        DiskFull,
        Damaged,     // not a database, or a database whose pages are broken
        ForeignFile, // a database of another program
        NewerVersion,
        InUse, // another Kelvara holds the store
        Other,
    };

    // Codes of our own for what SQLite does not report (AppError::code, domain "KelvaraStore").
    static constexpr int foreignFileCode = -1;
    static constexpr int newerVersionCode = -2;
    static constexpr int inUseCode = -3;

    struct Diagnosis
    {
        Cause cause = Cause::Other;
        QString path; // the file or folder the cause is about
    };

    // The cause of a failure with SQLite's result code (or one of ours). SQLITE_READONLY also
    // stands for a store that opened but can only be read.
    static Diagnosis diagnose(const QString &storePath, int code);

    // Fills the error's failure reason with the cause and its recovery suggestion with the way
    // on, as separate sentences. `detail` is what the system said, for a cause we cannot name;
    // `backupPath` is the one-time backup, mentioned for a damaged store when it exists.
    // `saving`: the user has changes in memory, and they are not lost.
    static void explain(AppError &error, const QString &storePath, const QString &backupPath, const QString &detail,
                        bool saving);

    // Writable by this process (its effective user), with the errno of the refusal.
    static bool isWritable(const QString &path, int *why = nullptr);

    StoreProblem() = delete;
};
