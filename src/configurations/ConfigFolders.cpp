#include "configurations/ConfigFolders.h"

#include "app/UComon.h"
#include "configurations/ConfigFiles.h"
#include "configurations/SafeFile.h"
#include "language/ULanguage.h"

#include "update/SxComposer.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>

namespace {

// The checks of a new configuration name before the file system has its say.
int Check_New_Name(const QString& projectsDir, const QString& name)
{
    if (name.isEmpty())
        return 107;
    // A separator or a dot name would put the folder outside PROJECTS; a NUL would cut the
    // name short on its way to the file system. The name must also reach the settings file
    // as it is: XML holds no control characters, and its parser turns CR LF into LF.
    if (Is_Unsafe_Path_Name(name) || !Is_Xml_Storable(name) || name.contains(QLatin1Char('\r'))
        || name.contains(QLatin1Char('\n')))
        return 105;
    if (!QFileInfo(projectsDir).isDir())
        return Missing_Projects_Folder;
    if (QFileInfo(Path_Join(projectsDir, name)).isDir())
        return 106;
    return 0;
}

} // namespace

int Create_Configuration_Folder(const QString& projectsDir, const QString& name)
{
    if (const int refusal = Check_New_Name(projectsDir, name))
        return refusal;
    const QString path = Path_Join(projectsDir, name);
    if (!QDir().mkdir(path))
        return 105;
    QDir().mkpath(Path_Join(path, QStringLiteral("bin"))); // its absence shows at compile time
    return 0;
}

QString Refusal_Text(int refusal, const QString& projectsDir)
{
    if (refusal == Missing_Projects_Folder)
        return Msg(refusal) + QDir::toNativeSeparators(projectsDir);
    return Msg(refusal);
}

bool Activate_Configuration(const QString& name)
{
    Shared.Conf_Name = name;
    Shared.Conf_Dir = name.isEmpty() ? QString() : Path_Join(Shared.Dir_Projects, name);
    Set_Files();
    return !Shared.Conf_Dir.isEmpty();
}

QStringList Configuration_Folders(const QString& projectsDir)
{
    const QString inside = QFileInfo(projectsDir).canonicalFilePath() + QLatin1Char('/');
    QStringList names;
    // Hidden folders are the system's or a tool's, not configurations.
    for (const QFileInfo& info :
         QDir(projectsDir).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted)) {
        // A link may lead anywhere: only one that stays below PROJECTS names a configuration.
        if ((info.isSymLink() || info.isJunction())
            && !info.canonicalFilePath().startsWith(inside))
            continue;
        names << info.fileName();
    }
    return names;
}

int Search_Configuration(const QStringList& list, const QString& name)
{
    const int exact = int(list.indexOf(name));
    return exact >= 0 ? exact : Search_Name_Ignoring_Case(list, name);
}

namespace {

QChar Ascii_Lower(QChar c)
{
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ? QChar(c.unicode() + 32) : c;
}

bool Equal_Ignoring_Ascii_Case(const QString& a, const QString& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (Ascii_Lower(a[i]) != Ascii_Lower(b[i]))
            return false;
    }
    return true;
}

} // namespace

int Search_Name_Ignoring_Case(const QStringList& list, const QString& name)
{
    for (int i = 0; i < list.size(); ++i) {
        if (Equal_Ignoring_Ascii_Case(list[i], name))
            return i;
    }
    return -1;
}

QString Active_Configuration_Name()
{
    const QString prefix = Shared.Dir_Projects + QLatin1Char('/');
    if (!Shared.Conf_Dir.startsWith(prefix))
        return {};
    return Shared.Conf_Dir.mid(prefix.size());
}

void Sort_Configuration_Names(QStringList& names)
{
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
}

bool Is_Left_Out_Of_Copy(const QString& entryName)
{
    return entryName == QLatin1String("bin") || entryName == New_Firmware_Prefix + Firmware_File_Name
        || entryName == Update_Log_File_Name;
}

namespace {

QString Shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

[[noreturn]] void Missing_Configuration(const QString& path)
{
    throw App_Error(Msg(111) + Shown(path));
}

// Copies the files and folders below `from` into the existing folder `to`; `top` applies the
// exclusions, which name entries of the configuration folder itself.
void Copy_Tree(const QString& from, const QString& to, bool top)
{
    // A link may lead anywhere, and hidden entries are the program's own work files.
    const QFileInfoList entries =
        QDir(from).entryInfoList(QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot);
    for (const QFileInfo& info : entries) {
        if (info.isSymLink() || info.isJunction() || (top && Is_Left_Out_Of_Copy(info.fileName())))
            continue;
        const QString target = Path_Join(to, info.fileName());
        if (info.isDir()) {
            if (!QDir().mkdir(target))
                throw App_Error(Msg(130) + Shown(info.filePath()));
            Copy_Tree(info.filePath(), target, false);
        } else if (info.isFile()) { // never a pipe or a device, which a copy would hang on
            QFile source(info.filePath());
            if (!source.copy(target))
                throw App_Error(Msg(130) + Shown(info.filePath()) + QStringLiteral(": ")
                                + source.errorString());
        }
    }
}

// Whether `to` names the folder `from` itself, seen through a file system that ignores case.
bool Same_Folder_In_Other_Case(const QString& projectsDir, const QString& from, const QString& to)
{
    return from != to && Search_Name_Ignoring_Case({from}, to) == 0
        && !Configuration_Folders(projectsDir).contains(to);
}

// A copy in the making: a hidden folder, and beside it the lock its duplicate holds.
const QString Copy_Template = QStringLiteral(".copy-XXXXXX");
const QString Copy_Lock_Suffix = QStringLiteral(".lock");

// A duplicate killed part-way leaves its folder, or its lock once the copy is in place; what
// a live duplicate has is locked. Only names the program makes are touched.
void Remove_Abandoned_Copies(const QString& projectsDir)
{
    static const QRegularExpression name(QStringLiteral("^\\.copy-[A-Za-z0-9]{6}(\\.lock)?$"));
    const QDir dir(projectsDir);
    const QFileInfoList found =
        dir.entryInfoList({QStringLiteral(".copy-*")},
                          QDir::Dirs | QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo& info : found) {
        const QRegularExpressionMatch m = name.match(info.fileName());
        if (!m.hasMatch() || info.isSymLink())
            continue;
        if (m.capturedLength(1) == 0 && info.isDir()) {
            const QString lock = info.filePath() + Copy_Lock_Suffix;
            if (Lock_Abandoned(lock) && QDir(info.filePath()).removeRecursively())
                QFile::remove(lock);
        } else if (m.capturedLength(1) > 0 && info.isFile()
                   && !QFileInfo::exists(info.filePath().chopped(Copy_Lock_Suffix.size()))
                   && Lock_Abandoned(info.filePath())) {
            QFile::remove(info.filePath());
        }
    }
}

} // namespace

int Duplicate_Configuration(const QString& projectsDir, const QString& from, const QString& to)
{
    const QString source = Path_Join(projectsDir, from);
    if (from.isEmpty() || Is_Unsafe_Path_Name(from) || !QFileInfo(source).isDir())
        Missing_Configuration(source);
    if (const int refusal = Check_New_Name(projectsDir, to))
        return refusal;
    Remove_Abandoned_Copies(projectsDir);
    // Hidden, so that the listing never shows the copy before it is complete.
    QTemporaryDir work(Path_Join(projectsDir, Copy_Template));
    if (!work.isValid())
        throw App_Error(Msg(130) + Shown(source) + QStringLiteral(": ") + work.errorString());
    // Held until the copy is in place: it tells this copy from a killed one.
    QLockFile lock(work.path() + Copy_Lock_Suffix);
    lock.setStaleLockTime(0);
    lock.tryLock(0);
    Copy_Tree(source, work.path(), true);
    QDir().mkdir(Path_Join(work.path(), QStringLiteral("bin")));
    // The temporary folder is private to its owner; the copy gets the permissions of a new one.
    QFile::setPermissions(work.path(), QFileInfo(source).permissions());
    // Qt's rename never replaces an existing folder, so a folder made meanwhile stays intact.
    if (!QDir().rename(work.path(), Path_Join(projectsDir, to)))
        return QFileInfo(Path_Join(projectsDir, to)).exists() ? 106 : 105;
    work.setAutoRemove(false);
    return 0;
}

int Rename_Configuration(const QString& projectsDir, const QString& from, const QString& to)
{
    const QString source = Path_Join(projectsDir, from);
    if (from.isEmpty() || Is_Unsafe_Path_Name(from) || !QFileInfo(source).isDir())
        Missing_Configuration(source);
    if (to == from)
        return 0;
    const bool active = Is_Active_Configuration(projectsDir, from);
    if (const int refusal = Check_New_Name(projectsDir, to)) {
        if (refusal != 106 || !Same_Folder_In_Other_Case(projectsDir, from, to))
            return refusal;
    }
    if (!QDir().rename(source, Path_Join(projectsDir, to))) {
        if (QFileInfo(Path_Join(projectsDir, to)).exists()
            && !Same_Folder_In_Other_Case(projectsDir, from, to))
            return 106;
        if (!QFileInfo(source).isDir())
            Missing_Configuration(source);
        return 105;
    }
    if (active)
        Activate_Configuration(to);
    return 0;
}

bool Delete_Configuration(const QString& projectsDir, const QString& name, bool toTrash)
{
    const QString path = Path_Join(projectsDir, name);
    const QFileInfo info(path);
    if (name.isEmpty() || Is_Unsafe_Path_Name(name) || !info.isDir())
        Missing_Configuration(path);
    const bool active = Is_Active_Configuration(projectsDir, name);
    const bool trashed = toTrash && QFile::moveToTrash(path);
    if (!trashed) {
        // Through a link removeRecursively would empty the folder it leads to.
        const bool removed = (info.isSymLink() || info.isJunction())
                                 ? QFile::remove(path)
                                 : QDir(path).removeRecursively();
        if (!removed)
            throw App_Error(Msg(132) + Shown(path));
    }
    if (active)
        Activate_Configuration(QString());
    return trashed;
}

bool Is_Active_Configuration(const QString& projectsDir, const QString& name)
{
    if (Shared.Conf_Dir.isEmpty() || QDir::cleanPath(projectsDir) != QDir::cleanPath(Shared.Dir_Projects))
        return false;
    const QString active = Active_Configuration_Name();
    if (active == name)
        return true;
    // A name kept in other letter case names the same folder where the file system ignores it.
    return Search_Name_Ignoring_Case({name}, active) == 0
        && !Configuration_Folders(projectsDir).contains(active);
}
