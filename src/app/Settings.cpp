#include "app/Settings.h"

#include "app/UComon.h"
#include "configurations/ConfigFiles.h"
#include "configurations/XmlFile.h"
#include "language/ULanguage.h"

#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QXmlStreamWriter>

namespace {

QString User_Data_Folder;

QString Without_Trailing_Separator(const QString& path)
{
    QString dir = QDir::cleanPath(path);
    while (dir.size() > 1 && dir.endsWith(QLatin1Char('/')))
        dir.chop(1);
    return dir;
}

} // namespace

void Set_User_Data_Folder(const QString& dir)
{
    User_Data_Folder = dir.isEmpty() ? QString() : Without_Trailing_Separator(dir);
}

bool Folder_Writable(const QString& dir)
{
    QTemporaryFile probe(Path_Join(dir, QStringLiteral(".sw38591-probe-XXXXXX")));
    return probe.open();
}

void Set_Program_Folders(const QString& programDir)
{
    const QString dir = Without_Trailing_Separator(programDir);
    Shared.Dir_Program = dir;
    Shared.Dir_Data = dir;
    if (!User_Data_Folder.isEmpty() && !Folder_Writable(dir)) {
        QDir().mkpath(User_Data_Folder); // a failure shows where a file is written
        Shared.Dir_Data = User_Data_Folder;
    }
    Shared.Dir_Master = Path_Join(Shared.Dir_Data, QStringLiteral("MASTER"));
    Shared.Dir_Projects = Path_Join(Shared.Dir_Data, QStringLiteral("PROJECTS"));
    Shared.Dir_Language = Path_Join(dir, QStringLiteral("LANGUAGE"));
    for (const QString& d : {Shared.Dir_Master, Shared.Dir_Projects, Shared.Dir_Language}) {
        if (!QFileInfo(d).isDir())
            QDir().mkdir(d); // a failure shows later, where the folder is needed
    }
}

QString Data_Folder_Notice()
{
    if (Shared.Dir_Data == Shared.Dir_Program || QFileInfo::exists(Settings_File_Path()))
        return {};
    return Msg(33) + QDir::toNativeSeparators(Shared.Dir_Data);
}

QString Data_Folder()
{
    return Shared.Dir_Data.isEmpty() ? Shared.Dir_Program : Shared.Dir_Data;
}

QString Settings_File_Path()
{
    return Path_Join(Data_Folder(), QStringLiteral("Tessaform.xml"));
}

void Set_Settings_Defaults()
{
    Shared.Conf_Name.clear();
    Shared.Conf_Dir.clear();
    Shared.Last_IP_Address = Default_IP_Address;
    Shared.Language_Name = QStringLiteral("English");
    Shared.Enable_Internet = false;
    Shared.Enable_Update = false;
    Shared.Enable_Jump_Field_Tables = false;
    Shared.Double_Click_Auto_Size = false;
}

namespace {

// A settings file that could not be read holds the user's last configuration and language:
// it is kept under another name before anything replaces it.
bool Broken_To_Keep = false;

} // namespace

void Read_Settings()
{
    Set_Settings_Defaults();
    Broken_To_Keep = false;
    const QString path = Settings_File_Path();
    if (!QFileInfo::exists(path))
        return;
    QDomDocument doc;
    try {
        doc = Load_Xml_File(path);
    } catch (const App_Error&) {
        Broken_To_Keep = true;
        throw;
    }
    const QDomNode root = doc.firstChild();

    auto text = [&](const char* parent, const char* child, const QString& def) {
        const QDomElement p = root.firstChildElement(QString::fromLatin1(parent));
        const QDomElement c = p.firstChildElement(QString::fromLatin1(child));
        return c.isNull() ? def : c.text();
    };
    auto flag = [&](const char* child) {
        return text("lastinternet", child, QString()) == QLatin1String("1");
    };

    Shared.Conf_Name = text("lastproj", "projectname", QString());
    Shared.Last_IP_Address = text("lastipadd", "ipaddress", Default_IP_Address);
    Shared.Language_Name = text("lastlang", "language", QStringLiteral("English"));
    Shared.Enable_Internet = flag("enable_internet");
    Shared.Enable_Update = flag("enable_update");
    Shared.Enable_Jump_Field_Tables = flag("enable_jump_field_tables");
    Shared.Double_Click_Auto_Size = flag("Double_Click_Auto_Size");
}

QByteArray Settings_Xml()
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.setAutoFormatting(false);
    auto flag = [](bool b) { return b ? QStringLiteral("1") : QStringLiteral("0"); };
    w.writeStartElement(QStringLiteral("Conf_Settings"));
    w.writeStartElement(QStringLiteral("lastproj"));
    w.writeTextElement(QStringLiteral("projectname"), Shared.Conf_Name);
    w.writeEndElement();
    w.writeStartElement(QStringLiteral("lastipadd"));
    w.writeTextElement(QStringLiteral("ipaddress"), Shared.Last_IP_Address);
    w.writeEndElement();
    w.writeStartElement(QStringLiteral("lastlang"));
    w.writeTextElement(QStringLiteral("language"), Shared.Language_Name);
    w.writeEndElement();
    w.writeStartElement(QStringLiteral("lastinternet"));
    w.writeTextElement(QStringLiteral("enable_internet"), flag(Shared.Enable_Internet));
    w.writeTextElement(QStringLiteral("enable_update"), flag(Shared.Enable_Update));
    w.writeTextElement(QStringLiteral("enable_jump_field_tables"),
                       flag(Shared.Enable_Jump_Field_Tables));
    w.writeTextElement(QStringLiteral("Double_Click_Auto_Size"),
                       flag(Shared.Double_Click_Auto_Size));
    w.writeEndElement();
    w.writeEndElement();
    return out;
}

QString Keep_Broken_Settings()
{
    const QString path = Settings_File_Path();
    if (!Broken_To_Keep || !QFileInfo::exists(path)) {
        Broken_To_Keep = false;
        return {};
    }
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        throw App_Error(QStringLiteral("Cannot read the file %1: %2")
                            .arg(QDir::toNativeSeparators(path), in.errorString()));
    const QByteArray data = in.readAll();
    // An earlier kept file is never overwritten.
    QString kept = path + QStringLiteral(".bad");
    for (int n = 2; QFileInfo::exists(kept) || QFileInfo(kept).isSymLink(); ++n)
        kept = path + QStringLiteral(".bad") + QString::number(n);
    Write_File_Atomic(kept, data);
    Broken_To_Keep = false;
    return kept;
}

void Save_Setting()
{
    const QByteArray xml = Settings_Xml();
    // The next start must open the configuration that was active, not one whose name the file
    // changed on its way (a control character dropped, CR LF read back as LF).
    if (!Is_Xml_Storable(Shared.Conf_Name))
        throw App_Error(Msg(31) + Shared.Conf_Name);
    const QDomNode root = Parse_Xml_Bytes(xml, Settings_File_Path()).firstChild();
    if (root.firstChildElement(QStringLiteral("lastproj"))
            .firstChildElement(QStringLiteral("projectname"))
            .text() != Shared.Conf_Name)
        throw App_Error(Msg(31) + Shared.Conf_Name);
    Keep_Broken_Settings();
    Write_File_Atomic(Settings_File_Path(), xml);
}

bool Restore_Configuration()
{
    const QString dir = Path_Join(Shared.Dir_Projects, Shared.Conf_Name);
    // An unsafe name is kept for the settings file but never used as a path.
    if (!Shared.Conf_Name.isEmpty() && !Is_Unsafe_Path_Name(Shared.Conf_Name) &&
        QFileInfo(dir).isDir()) {
        Shared.Conf_Dir = dir;
        return true;
    }
    Shared.Conf_Dir.clear();
    return false;
}
