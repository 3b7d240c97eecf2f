#include "configurations/ConfigFolders.h"

#include "app/UComon.h"

#include <QDir>
#include <QFileInfo>

int Create_Configuration_Folder(const QString& projectsDir, const QString& name)
{
    if (name.isEmpty())
        return 107;
    // A separator or a dot name would put the folder outside PROJECTS; a NUL would cut the
    // name short on its way to the file system.
    if (Is_Unsafe_Path_Name(name) || name.contains(QChar(0)))
        return 105;
    const QString path = Path_Join(projectsDir, name);
    if (QFileInfo(path).isDir())
        return 106;
    if (!QDir().mkdir(path))
        return 105;
    QDir().mkpath(Path_Join(path, QStringLiteral("bin"))); // its absence shows at compile time
    return 0;
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
    return QDir(projectsDir)
        .entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Unsorted);
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
