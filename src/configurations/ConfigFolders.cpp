#include "configurations/ConfigFolders.h"

#include "app/UComon.h"
#include "configurations/ConfigFiles.h"
#include "language/ULanguage.h"

#include <QDir>
#include <QFileInfo>

int Create_Configuration_Folder(const QString& projectsDir, const QString& name)
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
    const QString path = Path_Join(projectsDir, name);
    if (QFileInfo(path).isDir())
        return 106;
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
