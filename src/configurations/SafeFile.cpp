#include "configurations/SafeFile.h"

#include "app/UComon.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
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
    if (::stat(QFile::encodeName(target).constData(), &st) == 0)
        mode = st.st_mode & 07777; // the replacement keeps the permissions of the file it replaces
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd >= 0 && mode != 0666)
        ::fchmod(fd, mode);
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

const QString Group_Mark = QStringLiteral(".sw38591-group");
const QString New_Suffix = QStringLiteral(".new");
const QString Old_Suffix = QStringLiteral(".old");

[[noreturn]] void Cannot_Write(const QString& path, const QString& reason)
{
    throw App_Error(QStringLiteral("Cannot write the file %1: %2").arg(Shown(path), reason));
}

// The old file stays reachable under `backup` while the group is put in place.
bool Keep_Backup(const QString& path, const QString& backup)
{
    QFile::remove(backup);
    return Hard_Link(path, backup) || QFile::copy(path, backup);
}

} // namespace

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

// The group's own temporary files have fixed names, so that a later run finds them.
class Group_File final {
public:
    explicit Group_File(const QString& path) : m_path(path), m_new(Beside(path, New_Suffix)) {}
    const QString& Path() const { return m_path; }
    const QString& New() const { return m_new; }
    QString Old() const { return Beside(m_path, Old_Suffix); }

private:
    QString m_path;
    QString m_new;
};

QStringList Mark_Names(const QString& mark)
{
    QFile f(mark);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList names;
    for (const QByteArray& line : f.readAll().split('\n')) {
        const QString name = QString::fromUtf8(line);
        if (!name.isEmpty() && !Is_Unsafe_Path_Name(name))
            names << name;
    }
    return names;
}

} // namespace

void Recover_File_Group(const QString& dir)
{
    const QString mark = Path_Join(dir, Group_Mark);
    if (!QFileInfo::exists(mark))
        return;
    // The mark is only written once every new file is complete: finish putting them in place.
    for (const QString& name : Mark_Names(mark)) {
        const Group_File g(Path_Join(dir, name));
        if (QFileInfo::exists(g.New())) {
            const QString reason = Rename_Over(g.New(), g.Path());
            if (!reason.isEmpty())
                Cannot_Write(g.Path(), reason);
        }
    }
    Sync_Folder(dir);
    for (const QString& name : Mark_Names(mark))
        QFile::remove(Group_File(Path_Join(dir, name)).Old());
    QFile::remove(mark);
    Sync_Folder(dir);
}

void Write_Files_Atomic(const QList<File_Content>& files)
{
    if (files.isEmpty())
        return;
    const QString dir = QFileInfo(files.first().path).path();
    QStringList names;
    for (const File_Content& f : files) {
        Q_ASSERT(QFileInfo(f.path).path() == dir);
        names << QFileInfo(f.path).fileName();
    }
    Recover_File_Group(dir);
    for (const File_Content& f : files)
        Check_Writable(f.path);

    // Everything is written and synced before anything is replaced.
    std::vector<std::unique_ptr<Atomic_File>> temps;
    for (const File_Content& f : files) {
        const Group_File g(f.path);
        QFile::remove(g.New());
        auto t = std::make_unique<Atomic_File>(f.path);
        t->Write(f.data);
        t->Finish();
        const QString reason = Rename_Over(t->Temporary(), g.New());
        if (!reason.isEmpty())
            Cannot_Write(f.path, reason);
        temps.push_back(std::move(t));
    }
    struct New_Files_Gone {
        const QList<File_Content>& files;
        ~New_Files_Gone()
        {
            for (const File_Content& f : files)
                QFile::remove(Group_File(f.path).New());
        }
    } const newGone{files};

    const QString mark = Path_Join(dir, Group_Mark);
    Write_File_Atomic(mark, names.join(QLatin1Char('\n')).toUtf8());

    qsizetype placed = 0;
    QList<bool> hadOld;
    QString failure;
    for (const File_Content& f : files) {
        const Group_File g(f.path);
        const bool existed = QFileInfo::exists(f.path);
        hadOld << existed;
        if (existed && !Keep_Backup(f.path, g.Old())) {
            failure = QStringLiteral("Cannot write the file %1: the old file cannot be kept "
                                     "while it is replaced")
                          .arg(Shown(f.path));
            break;
        }
        const QString reason = Rename_Over(g.New(), f.path);
        if (!reason.isEmpty()) {
            failure = QStringLiteral("Cannot write the file %1: %2").arg(Shown(f.path), reason);
            break;
        }
        ++placed;
    }
    if (failure.isEmpty()) {
        Sync_Folder(dir);
        for (const File_Content& f : files)
            QFile::remove(Group_File(f.path).Old());
        QFile::remove(mark);
        Sync_Folder(dir);
        return;
    }

    // Undo: from here on nothing may complete the group.
    QFile::remove(mark);
    Sync_Folder(dir);
    QString undoFailure;
    for (qsizetype i = 0; i < placed; ++i) {
        const Group_File g(files[i].path);
        const QString reason =
            hadOld[i] ? Rename_Over(g.Old(), g.Path())
                      : (QFile::remove(g.Path()) ? QString() : QStringLiteral("cannot remove it"));
        if (!reason.isEmpty())
            undoFailure += QStringLiteral(" The file %1 could not be restored: %2.")
                               .arg(Shown(g.Path()), reason);
    }
    for (const File_Content& f : files)
        QFile::remove(Group_File(f.path).Old());
    Sync_Folder(dir);
    throw App_Error(failure + undoFailure);
}
