#include "update/EthernetUpdate.h"

#include "app/Launcher.h"
#include "app/UComon.h"
#include "compiler/ConfigImage.h"
#include "configurations/SafeFile.h"
#include "configurations/TextToInt.h"
#include "configurations/XmlFile.h"
#include "language/ULanguage.h"
#include "update/IcmpEcho.h"

#include <QCoreApplication>
#include <QDir>
#include <QDomDocument>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

bool Split_IP_Address(const QString& text, std::array<QString, 4>& parts)
{
    QString rest = Trim_Ctrl(text);
    for (int i = 0; i < 3; ++i) {
        const qsizetype dot = rest.indexOf(QLatin1Char('.'));
        if (dot < 0)
            return false;
        parts[i] = Trim_Ctrl(rest.left(dot));
        rest = Trim_Ctrl(rest.mid(dot + 1));
    }
    parts[3] = rest;
    bool valid = true;
    for (const QString& p : parts) {
        const qint32 v = Text_To_Int(p, 1000);
        valid = valid && v >= 0 && v <= 255;
    }
    return valid;
}

QString Join_IP_Address(const std::array<QString, 4>& parts)
{
    return parts[0] + QLatin1Char('.') + parts[1] + QLatin1Char('.') + parts[2] + QLatin1Char('.') +
           parts[3];
}

QString Canonical_IP_Address(const QString& text)
{
    std::array<QString, 4> parts;
    if (!Split_IP_Address(text, parts))
        return {};
    QStringList numbers;
    for (const QString& p : parts)
        numbers << QString::number(Text_To_Int(p, 1000));
    return numbers.join(QLatin1Char('.'));
}

bool Send_Ping(Icmp_Echo_Client& client, const QString& target, int& ping_res)
{
    ping_res = 0;
    QElapsedTimer sinceStart;
    sinceStart.start();
    // The address the parameter file names, not what a resolver makes of the text.
    const QString host = Canonical_IP_Address(target);
    if (host.isEmpty())
        return false;
    const QByteArray data = target.toUtf8();
    // Only the amount of data counts, not the kind of reply.
    const auto PingReply = [&ping_res](int bytesReceived) { ping_res = bytesReceived > 0 ? 1 : 2; };
    int successes = 0;
    do {
        QElapsedTimer sinceSend;
        sinceSend.start();
        if (!client.Ping(host, data, Ping_Reply_Wait_Ms, PingReply, nullptr))
            return false;
        do {
            QThread::msleep(Ping_Pause_Ms);
            QCoreApplication::processEvents();
        } while (ping_res == 0 && sinceSend.elapsed() <= Ping_Reply_Wait_Ms);
        if (ping_res == 1 && ++successes == 2)
            break;
    } while (sinceStart.elapsed() <= Ping_Check_Limit_Ms);
    return ping_res == 1;
}

QByteArray Parameter_Xml(const Update_Request& r, const QString& dirMaster, const QString& confDir)
{
    QDomDocument doc;
    doc.appendChild(doc.createProcessingInstruction(
        QStringLiteral("xml"), QStringLiteral("version=\"1.0\" encoding=\"UTF-8\"")));
    const auto Add = [&doc](QDomNode parent, const char* name, const QString& text = {}) {
        QDomElement e = doc.createElement(QLatin1String(name));
        if (!text.isEmpty())
            e.appendChild(doc.createTextNode(text));
        parent.appendChild(e);
        return e;
    };
    const auto Text = [](const char* s) { return QString::fromLatin1(s); };

    QDomElement root = Add(doc, "Zedazede_Zeruvi");
    Add(root, "Version", Text("1000"));
    Add(root, "Title", Text("Zorvek - SW38591 Ethernet Update"));
    Add(root, "IP_Address_Dev", r.ipAddress);
    Add(root, "Application_Port", Text("10000"));
    Add(root, "Boot_Port", Text("2008"));
    Add(root, "Boot_Port_Sec", Text("2007"));
    Add(root, "Address_Protection", Text("0x78000"));
    Add(Add(root, "Protections"), "Protection", Text("0x19D"));
    QDomElement operations = Add(root, "Operations");

    const auto Operation = [&](bool firmware, bool goToAppAfter) {
        QDomElement op = Add(operations, "Operation");
        Add(op, "Ope_Protection_Enabled");
        Add(op, "Ope_GoToBoot_Before", Text("0"));
        Add(op, "Ope_GoToApp_Before", Text("0"));
        Add(op, "Ope_IP_Address");
        Add(op, "Ope_Port", Text("2008"));
        Add(op, "Ope_Port_Sec", Text("2007"));
        Add(op, "Ope_Erase_Memory", Text("0"));
        Add(op, "Ope_FileName",
            QDir::toNativeSeparators(firmware ? Path_Join(dirMaster, QStringLiteral("Sim38591.sim"))
                                              : Path_Join(Path_Join(confDir, QStringLiteral("bin")),
                                                          QStringLiteral("bank2.bin"))));
        Add(op, "Ope_Start_Address", Text(firmware ? "0x8000" : "0x64000"));
        Add(op, "Ope_Memory_Type", Text("0"));
        Add(op, "Ope_Bank_Type", Text(firmware ? "1" : "2"));
        Add(op, "Ope_Read_Back", Text(r.readBack ? "1" : "0"));
        Add(op, "Ope_Write_CSS", Text(firmware ? "1" : "0"));
        Add(op, "Ope_Address_CSS", Text(firmware ? "0x78100" : "0x50100"));
        Add(op, "Ope_Command_CSS", Text("0x0B"));
        Add(op, "Ope_GoToApp_After", Text(goToAppAfter ? "1" : "0"));
    };
    switch (r.updateOption) {
    case 0:
        Operation(true, false);
        Operation(false, true);
        break;
    case 1:
        Operation(true, true);
        break;
    case 2:
        Operation(false, true);
        break;
    default:
        throw App_Error(QStringLiteral("Unknown update choice %1").arg(r.updateOption));
    }
    return doc.toByteArray(-1);
}

QStringList Update_Files(const Update_Request& r, const QString& dirMaster, const QString& confDir)
{
    QStringList files;
    if (r.updateOption == 0 || r.updateOption == 1)
        files << Path_Join(dirMaster, QStringLiteral("Sim38591.sim"));
    if (r.updateOption == 0 || r.updateOption == 2)
        files << Path_Join(Path_Join(confDir, QStringLiteral("bin")), QStringLiteral("bank2.bin"));
    return files;
}

void Compile_XML_Parameter(const Update_Request& r)
{
    Write_File_Atomic(Path_Join(Shared.Dir_Program, Parameter_File_Name),
                      Parameter_Xml(r, Shared.Dir_Master, Shared.Conf_Dir));
}

QString Update_Files_Problem(const Update_Request& r, const QString& dirMaster,
                             const QString& confDir, const QByteArray& image)
{
    const bool firmware = r.updateOption == 0 || r.updateOption == 1;
    const bool configuration = r.updateOption == 0 || r.updateOption == 2;
    if (firmware) {
        const QString sim = Path_Join(dirMaster, QStringLiteral("Sim38591.sim"));
        if (!QFileInfo(sim).isFile())
            return Msg(845) + QDir::toNativeSeparators(sim);
    }
    if (!configuration)
        return {};
    if (image.size() != Config_Image_Data::Bank2_Size)
        return Msg(849);
    const QString binDir = Path_Join(confDir, QStringLiteral("bin"));
    const QString path = Path_Join(binDir, QStringLiteral("bank2.bin"));
    // An interrupted write of the bank pair is completed or undone before it is read.
    Recover_File_Group(binDir);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Msg(846) + QDir::toNativeSeparators(path);
    const QByteArray bytes = file.read(Config_Image_Data::Bank2_Size + 1);
    if (file.error() != QFileDevice::NoError)
        return Msg(846) + QDir::toNativeSeparators(path);
    const auto* p = reinterpret_cast<const quint8*>(bytes.constData());
    constexpr int header = Config_Image_Data::Frames_Size;
    constexpr int sumAt = Config_Image_Data::Bank2_Size - 4;
    bool sound = bytes.size() == Config_Image_Data::Bank2_Size;
    if (sound) {
        quint32 sum = 0;
        for (int i = header; i < sumAt; ++i)
            sum += p[i];
        sound = sum == Get_LE32(p + sumAt);
    }
    if (!sound)
        return Msg(847) + QDir::toNativeSeparators(path);
    if (bytes != image)
        return Msg(848) + QDir::toNativeSeparators(path);
    return {};
}

Process_Launcher::Wait_Result Start_Program(const QString& NomeSW, const QString& Parameter,
                                            int limitMs, const std::function<void()>& whileWaiting)
{
    // An empty folder keeps the current one.
    Process_Launcher::Wait_Result r = Launcher().Start_And_Wait(
        NomeSW, QProcess::splitCommand(Parameter), QString(), limitMs, whileWaiting);
    if (!r.started)
        throw App_Error(QStringLiteral("Cannot start the program %1: %2")
                            .arg(QDir::toNativeSeparators(NomeSW), r.error));
    return r;
}
