#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Files are replaced whole: the new content goes into a file beside the target, every write is
// checked, the data is synced to the disk and only then renamed over the target. A failure at
// any point leaves the old file byte for byte and throws App_Error naming the file and the
// system's reason ("No space left on device").
//
// A file or folder without the owner's write permission counts as read-only and is never
// replaced, also for an administrator who could override it.

// The whole content of a file. Throws App_Error naming the file and the reason.
QByteArray Read_Whole_File(const QString& path);

// Throws App_Error when `path` may not be replaced or created under the rule above.
void Check_Writable(const QString& path);

// Writes a whole file atomically.
void Write_File_Atomic(const QString& path, const QByteArray& data);

struct File_Content {
    QString path;
    QByteArray data;
};

// Writes files of one folder as a group: all are replaced or none. Each is written and synced
// in full first; a commit mark then records that the group is complete, the files are put in
// place one by one and the mark is removed. A failure before the mark changes nothing; a
// failure while putting in place undoes what was done; an interruption (a kill, a power loss)
// after the mark is completed by Recover_File_Group, and one before it is discarded. Every
// file is checked against the read-only rule before anything is written.
void Write_Files_Atomic(const QList<File_Content>& files);

// Completes or discards an interrupted Write_Files_Atomic in `dir`, so that its files are all
// old or all new: a group that cannot be completed, or whose undo was interrupted, goes back to
// the old files. Every reader of such a group calls it first. Throws App_Error when a file
// cannot be put back.
void Recover_File_Group(const QString& dir);

// Whether the QLockFile at `path` belongs to nobody: missing, or not held by a live process.
// Its own stale check is not enough: a run killed while it wrote the lock, or while it
// reclaimed a dead one, leaves files that QLockFile never takes for stale. A live holder keeps
// its lock file locked natively from the moment it exists (on Windows: open, which forbids
// removing it), so a lock nobody holds is a dead run's.
bool Lock_Abandoned(const QString& path);

// Writes one file in pieces, as Write_File_Atomic does. The temporary file is removed when the
// object goes without Commit().
class Atomic_File final {
public:
    // Checks the rule above and creates the temporary file beside `path`. Throws App_Error.
    explicit Atomic_File(const QString& path);
    ~Atomic_File();
    Atomic_File(const Atomic_File&) = delete;
    Atomic_File& operator=(const Atomic_File&) = delete;

    void Write(const char* data, qsizetype size);
    void Write(const QByteArray& data) { Write(data.constData(), data.size()); }

    // Syncs and closes the temporary file, then renames it over the target.
    void Commit();

    // The first two steps of Commit alone; the temporary file stays for Put_In_Place.
    void Finish();
    void Put_In_Place();

    const QString& Target() const { return m_path; }
    const QString& Temporary() const { return m_temp; }

private:
    [[noreturn]] void Fail(const QString& reason);

    QString m_path;
    QString m_temp;
    int m_fd = -1;
    bool m_placed = false;
};
