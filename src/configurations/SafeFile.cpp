#include "configurations/SafeFile.h"

#include "app/UComon.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// The platform layer: raw descriptors, so that every write and the sync report their own
// failure (a buffered file only fails when it is closed, after the damage is done).
#ifdef Q_OS_WIN
int Open_New(const QString& path, const QString&)
{
    return _wopen(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(path).utf16()),
                  _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
}
qsizetype Write_Some(int fd, const char* data, qsizetype size)
{
    return _write(fd, data, unsigned(qMin<qsizetype>(size, 1 << 30)));
}
bool Sync(int fd) { return _commit(fd) == 0; }
bool Close(int fd) { return _close(fd) == 0; }
QString Last_Error_Text(DWORD code)
{
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, code, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    const QString s = text ? QString::fromWCharArray(text).trimmed() : QString::number(code);
    LocalFree(text);
    return s;
}
const wchar_t* W(const QString& s)
{
    return reinterpret_cast<const wchar_t*>(s.utf16());
}
// Empty on success, else the system's reason.
QString Rename_Over(const QString& from, const QString& to)
{
    const QString f = QDir::toNativeSeparators(from), t = QDir::toNativeSeparators(to);
    if (MoveFileExW(W(f), W(t), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return {};
    return Last_Error_Text(GetLastError());
}
bool Hard_Link(const QString& existing, const QString& link)
{
    return CreateHardLinkW(W(QDir::toNativeSeparators(link)),
                           W(QDir::toNativeSeparators(existing)), nullptr);
}
void Sync_Folder(const QString&) {} // MOVEFILE_WRITE_THROUGH already waited for the disk
#else
int Open_New(const QString& path, const QString& target)
{
    mode_t mode = 0666; // less the umask, as any new file
    struct stat st {};
    const bool replaces = ::stat(QFile::encodeName(target).constData(), &st) == 0;
    if (replaces)
        mode = st.st_mode & 07777; // the replacement keeps the permissions of the file it replaces
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd >= 0 && replaces)
        ::fchmod(fd, mode); // past the umask, also for a file that was 0666
    return fd;
}
qsizetype Write_Some(int fd, const char* data, qsizetype size)
{
    return ::write(fd, data, size_t(size));
}
bool Sync(int fd)
{
    return ::fsync(fd) == 0;
}
bool Close(int fd)
{
    return ::close(fd) == 0;
}
QString Rename_Over(const QString& from, const QString& to)
{
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return {};
    return QString::fromLocal8Bit(std::strerror(errno));
}
bool Hard_Link(const QString& existing, const QString& link)
{
    return ::link(QFile::encodeName(existing).constData(), QFile::encodeName(link).constData())
           == 0;
}
// A rename is only durable once the folder holding it is synced.
void Sync_Folder(const QString& dir)
{
    const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd); // some file systems cannot sync a folder; the data itself is synced already
    ::close(fd);
}
#endif

QString Errno_Text()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

QString Shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString Beside(const QString& path, const QString& suffix)
{
    const QFileInfo info(path);
    return Path_Join(info.path(), QLatin1Char('.') + info.fileName() + suffix);
}

// The mark of a group being put in place, and the same mark renamed once the group is being
// undone: a rename needs no room on a full disk.
const QString Group_Mark = QStringLiteral(".sw38591-group");
const QString Undo_Mark = QStringLiteral(".sw38591-undo");
const QString New_Suffix = QStringLiteral(".new");
const QString Old_Suffix = QStringLiteral(".old");

[[noreturn]] void Cannot_Write(const QString& path, const QString& reason)
{
    throw App_Error(QStringLiteral("Cannot write the file %1: %2").arg(Shown(path), reason));
}


} // namespace

QByteArray Read_Whole_File(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw App_Error(
            QStringLiteral("Cannot read the file %1: %2").arg(Shown(path), f.errorString()));
    QByteArray data = f.readAll();
    if (f.error() != QFileDevice::NoError)
        throw App_Error(
            QStringLiteral("Cannot read the file %1: %2").arg(Shown(path), f.errorString()));
    return data;
}

bool Lock_Abandoned(const QString& path)
{
#ifndef Q_OS_WIN
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT;
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return free;
#else
    return !QFileInfo::exists(path) || QFile::remove(path);
#endif
}

void Check_Writable(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists() && !(info.permissions() & QFileDevice::WriteOwner))
        Cannot_Write(path, QStringLiteral("the file is read-only"));
    const QFileInfo dir(info.absolutePath());
    if (!dir.isDir())
        Cannot_Write(path, QStringLiteral("the folder %1 does not exist").arg(Shown(dir.filePath())));
    if (!(dir.permissions() & QFileDevice::WriteOwner))
        Cannot_Write(path, QStringLiteral("the folder is read-only"));
}

Atomic_File::Atomic_File(const QString& path) : m_path(path), m_temp(Beside(path, ".tmp"))
{
    Check_Writable(path);
    QFile::remove(m_temp); // the leftover of a killed run
    m_fd = Open_New(m_temp, m_path);
    if (m_fd < 0)
        Cannot_Write(m_path, Errno_Text());
}

Atomic_File::~Atomic_File()
{
    if (m_fd >= 0)
        Close(m_fd);
    if (!m_placed)
        QFile::remove(m_temp);
}

void Atomic_File::Fail(const QString& reason)
{
    if (m_fd >= 0)
        Close(m_fd);
    m_fd = -1;
    QFile::remove(m_temp);
    Cannot_Write(m_path, reason);
}

void Atomic_File::Write(const char* data, qsizetype size)
{
    if (m_fd < 0)
        Fail(QStringLiteral("the file is already closed"));
    while (size > 0) {
        const qsizetype n = Write_Some(m_fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            Fail(Errno_Text());
        }
        if (n == 0) {
            errno = ENOSPC;
            Fail(Errno_Text());
        }
        data += n;
        size -= n;
    }
}

void Atomic_File::Finish()
{
    if (m_fd < 0)
        Fail(QStringLiteral("the file is already closed"));
    if (!Sync(m_fd))
        Fail(Errno_Text());
    const int fd = m_fd;
    m_fd = -1;
    if (!Close(fd))
        Fail(Errno_Text());
}

void Atomic_File::Put_In_Place()
{
    const QString reason = Rename_Over(m_temp, m_path);
    if (!reason.isEmpty()) {
        QFile::remove(m_temp);
        Cannot_Write(m_path, reason);
    }
    m_placed = true;
    Sync_Folder(QFileInfo(m_path).absolutePath());
}

void Atomic_File::Commit()
{
    Finish();
    Put_In_Place();
}

void Write_File_Atomic(const QString& path, const QByteArray& data)
{
    Atomic_File f(path);
    f.Write(data);
    f.Commit();
}

namespace {

// The old file stays reachable under `backup` while the group is put in place.
bool Keep_Backup(const QString& path, const QString& backup)
{
    QFile::remove(backup);
    if (Hard_Link(path, backup))
        return true;
    // A file system without hard links: a checked, synced copy.
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return false;
    try {
        Write_File_Atomic(backup, data);
    } catch (const App_Error&) {
        return false;
    }
    return true;
}

// One file of a group. Its temporary files have fixed names, so that a later run finds them.
// While the mark exists: a `.new` file means the target is still the old one; without it the
// target is new, and `.old` holds the old file when there was one.
struct Group_Entry {
    QString path;
    bool hadOld = true; // unknown counts as true: an undo then never removes a file

    QString New() const { return Beside(path, New_Suffix); }
    QString Old() const { return Beside(path, Old_Suffix); }
};

QByteArray Mark_Text(const QList<Group_Entry>& entries)
{
    QByteArray text;
    for (const Group_Entry& e : entries)
        text += QFileInfo(e.path).fileName().toUtf8() + (e.hadOld ? "\t1\n" : "\t0\n");
    return text;
}

QList<Group_Entry> Mark_Entries(const QString& dir, const QString& mark)
{
    QFile f(mark);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QList<Group_Entry> entries;
    for (const QByteArray& line : f.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        const QString name = QString::fromUtf8(fields.first());
        if (name.isEmpty() || Is_Unsafe_Path_Name(name))
            continue;
        entries.append({Path_Join(dir, name), fields.size() < 2 || fields.at(1) != "0"});
    }
    return entries;
}

// Puts every file still waiting in place. Returns the first failure, or an empty text.
QString Roll_Forward(const QList<Group_Entry>& entries)
{
    for (const Group_Entry& e : entries) {
        if (!QFileInfo::exists(e.New()))
            continue;
        if (QFileInfo::exists(e.path) && !QFileInfo::exists(e.Old())
            && !Keep_Backup(e.path, e.Old()))
            return QStringLiteral("Cannot write the file %1: the old file cannot be kept "
                                  "while it is replaced")
                .arg(Shown(e.path));
        const QString reason = Rename_Over(e.New(), e.path);
        if (!reason.isEmpty())
            return QStringLiteral("Cannot write the file %1: %2").arg(Shown(e.path), reason);
    }
    return {};
}

// Brings every file back to its old state; running it again after an interruption is harmless.
// Returns what could not be restored, or an empty text.
QString Roll_Back(const QList<Group_Entry>& entries)
{
    QString failure;
    for (const Group_Entry& e : entries) {
        if (QFileInfo::exists(e.New())) {
            // Never put in place: the target is still the old file, a backup is surplus.
            QFile::remove(e.New());
            QFile::remove(e.Old());
            continue;
        }
        QString reason;
        if (e.hadOld) {
            if (QFileInfo::exists(e.Old()))
                reason = Rename_Over(e.Old(), e.path);
        } else if (QFileInfo::exists(e.path) && !QFile::remove(e.path)) {
            reason = QStringLiteral("cannot remove it");
        }
        if (!reason.isEmpty())
            failure += QStringLiteral(" The file %1 could not be restored: %2.")
                           .arg(Shown(e.path), reason);
    }
    return failure;
}

void Finish_Group(const QString& dir, const QString& mark, const QList<Group_Entry>& entries)
{
    Sync_Folder(dir);
    for (const Group_Entry& e : entries)
        QFile::remove(e.Old());
    QFile::remove(mark);
    Sync_Folder(dir);
}

// From the forward mark on, an undo must not be completed by a later recovery instead.
[[noreturn]] void Undo_Group(const QString& dir, const QList<Group_Entry>& entries,
                             const QString& failure)
{
    const QString mark = Path_Join(dir, Group_Mark);
    const QString undo = Path_Join(dir, Undo_Mark);
    const QString reason = Rename_Over(mark, undo);
    if (!reason.isEmpty())
        throw App_Error(failure); // the mark stays: the next recovery tries again
    Sync_Folder(dir);
    const QString undoFailure = Roll_Back(entries);
    if (undoFailure.isEmpty()) {
        QFile::remove(undo);
        Sync_Folder(dir);
    }
    throw App_Error(failure + undoFailure);
}

} // namespace

void Recover_File_Group(const QString& dir)
{
    const QString undo = Path_Join(dir, Undo_Mark);
    if (QFileInfo::exists(undo)) {
        const QString failure = Roll_Back(Mark_Entries(dir, undo));
        if (!failure.isEmpty())
            throw App_Error(failure.trimmed());
        QFile::remove(undo);
        Sync_Folder(dir);
    }
    const QString mark = Path_Join(dir, Group_Mark);
    if (!QFileInfo::exists(mark))
        return;
    // The mark is only written once every new file is complete: finish putting them in place,
    // or, where that fails, go back to the old files.
    const QList<Group_Entry> entries = Mark_Entries(dir, mark);
    const QString failure = Roll_Forward(entries);
    if (!failure.isEmpty())
        Undo_Group(dir, entries, failure);
    Finish_Group(dir, mark, entries);
}

void Write_Files_Atomic(const QList<File_Content>& files)
{
    if (files.isEmpty())
        return;
    const QString dir = QFileInfo(files.first().path).path();
    QList<Group_Entry> entries;
    for (const File_Content& f : files) {
        Q_ASSERT(QFileInfo(f.path).path() == dir);
        entries.append({f.path, false});
    }
    Recover_File_Group(dir);
    for (const File_Content& f : files)
        Check_Writable(f.path);

    // A failure anywhere leaves no new file behind, where it would fill a full disk further.
    struct New_Files_Gone {
        const QList<Group_Entry>& entries;
        ~New_Files_Gone()
        {
            for (const Group_Entry& e : entries)
                QFile::remove(e.New());
        }
    } const newGone{entries};

    // Everything is written and synced before anything is replaced.
    for (qsizetype i = 0; i < files.size(); ++i) {
        QFile::remove(entries[i].New());
        Atomic_File t(files[i].path);
        t.Write(files[i].data);
        t.Finish();
        const QString reason = Rename_Over(t.Temporary(), entries[i].New());
        if (!reason.isEmpty())
            Cannot_Write(files[i].path, reason);
    }

    for (Group_Entry& e : entries) {
        e.hadOld = QFileInfo::exists(e.path);
        QFile::remove(e.Old()); // a stale backup must not stand in for the old file
    }
    const QString mark = Path_Join(dir, Group_Mark);
    Write_File_Atomic(mark, Mark_Text(entries));

    const QString failure = Roll_Forward(entries);
    if (!failure.isEmpty())
        Undo_Group(dir, entries, failure);
    Finish_Group(dir, mark, entries);
}
