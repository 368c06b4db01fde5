#include "core/store/StoreProblem.h"

#include "core/Localized.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <cerrno>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/statvfs.h>
#include <unistd.h>

bool StoreProblem::isWritable(const QString &path, int *why)
{
    // The effective user is who opens the files; access() alone would ask for the real one.
    if (faccessat(AT_FDCWD, QFile::encodeName(path).constData(), W_OK, AT_EACCESS) == 0)
        return true;
    if (why)
        *why = errno;
    return false;
}

namespace {
bool diskIsFull(const QString &folder)
{
    struct statvfs info = {};
    return statvfs(QFile::encodeName(folder).constData(), &info) == 0 && info.f_bavail == 0;
}
} // namespace

StoreProblem::Diagnosis StoreProblem::diagnose(const QString &storePath, int code)
{
    const QString folder = QFileInfo(storePath).absolutePath();
    switch (code) {
    case foreignFileCode:
        return {Cause::ForeignFile, storePath};
    case newerVersionCode:
        return {Cause::NewerVersion, storePath};
    case inUseCode:
        return {Cause::InUse, storePath};
    default:
        break;
    }
    switch (code & 0xff) {
    case SQLITE_FULL:
        return {Cause::DiskFull, folder};
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return {Cause::Damaged, storePath};
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return {Cause::InUse, storePath};
    default:
        break;
    }
    // Whatever SQLite said (read-only, cannot open, disk I/O), the files tell which one is to blame.
    int why = 0;
    for (const QString &path : {storePath, storePath + QStringLiteral("-wal"), storePath + QStringLiteral("-shm")}) {
        if (QFileInfo::exists(path) && !isWritable(path, &why))
            return {why == EROFS ? Cause::ReadOnlyDisk : Cause::FileNotWritable, why == EROFS ? folder : path};
    }
    if (!isWritable(folder, &why))
        return {why == EROFS ? Cause::ReadOnlyDisk : Cause::FolderNotWritable, folder};
    if (diskIsFull(folder))
        return {Cause::DiskFull, folder};
    return {Cause::Other, storePath};
}

void StoreProblem::explain(AppError &error, const QString &storePath, const QString &backupPath, const QString &detail,
                           bool saving)
{
    const Diagnosis d = diagnose(storePath, error.code);
    QString reason;
    QString wayOn;
    switch (d.cause) {
    case Cause::FileNotWritable:
    case Cause::FolderNotWritable:
    case Cause::ReadOnlyDisk: {
        static const QHash<Cause, std::pair<const char *, const char *>> keys = {
            {Cause::FileNotWritable, {"STORE_CAUSE_FILE_NOT_WRITABLE", "STORE_WAY_FILE_NOT_WRITABLE"}},
            {Cause::FolderNotWritable, {"STORE_CAUSE_FOLDER_NOT_WRITABLE", "STORE_WAY_FOLDER_NOT_WRITABLE"}},
            {Cause::ReadOnlyDisk, {"STORE_CAUSE_READ_ONLY_DISK", "STORE_WAY_READ_ONLY_DISK"}},
        };
        const auto [reasonKey, wayOnKey] = keys.value(d.cause);
        reason = Localized::format(QLatin1String(reasonKey), {d.path});
        wayOn = Localized::format(QLatin1String(wayOnKey), {d.path});
        break;
    }
    case Cause::DiskFull:
        reason = Localized::format(QStringLiteral("STORE_CAUSE_DISK_FULL"), {d.path});
        wayOn = Localized::string(QStringLiteral("STORE_WAY_DISK_FULL"));
        break;
    case Cause::Damaged:
    case Cause::ForeignFile:
        reason = Localized::format(d.cause == Cause::Damaged ? QStringLiteral("STORE_CAUSE_DAMAGED")
                                                            : QStringLiteral("STORE_CAUSE_FOREIGN_FILE"),
                                   {d.path});
        wayOn = !backupPath.isEmpty() && QFileInfo::exists(backupPath)
                    ? Localized::format(QStringLiteral("STORE_WAY_USE_BACKUP"), {backupPath, storePath})
                    : Localized::format(QStringLiteral("STORE_WAY_MOVE_AWAY"), {storePath});
        break;
    case Cause::NewerVersion:
        reason = Localized::format(QStringLiteral("STORE_CAUSE_NEWER_VERSION"), {detail});
        wayOn = Localized::string(QStringLiteral("STORE_WAY_NEWER_VERSION"));
        break;
    case Cause::InUse:
        reason = Localized::string(QStringLiteral("STORE_CAUSE_IN_USE"));
        wayOn = Localized::string(QStringLiteral("STORE_WAY_IN_USE"));
        break;
    case Cause::Other:
        reason = Localized::format(QStringLiteral("STORE_CAUSE_OTHER"), {detail});
        wayOn = Localized::string(QStringLiteral("STORE_WAY_TRY_AGAIN"));
        break;
    }
    error.failureReason = reason;
    error.recoverySuggestion = saving ? wayOn + u' ' + Localized::string(QStringLiteral("STORE_SAVE_RECOVERY")) : wayOn;
}
