#include "app/UComon.h"

Shared_State Shared;

QString Error_Text(const std::exception& e)
{
    if (auto app = dynamic_cast<const App_Error*>(&e))
        return app->text();
    return QString::fromLocal8Bit(e.what());
}

QString Path_Join(const QString& dir, const QString& name)
{
    return dir + QLatin1Char('/') + name;
}

void Set_Files()
{
    Shared.File_ParGen = Path_Join(Shared.Conf_Dir, QStringLiteral("ParGen.xml"));
    Shared.File_Receive_Frame = Path_Join(Shared.Conf_Dir, QStringLiteral("Receive_Frame.xml"));
    Shared.File_Send_Frame = Path_Join(Shared.Conf_Dir, QStringLiteral("Send_Frame.xml"));
}

bool Is_Unsafe_Path_Name(const QString& name)
{
    return name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\'))
        || name == QLatin1String(".") || name == QLatin1String("..");
}

QString Trim_Ctrl(const QString& s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && s.at(b).unicode() <= 0x20)
        ++b;
    while (e > b && s.at(e - 1).unicode() <= 0x20)
        --e;
    return s.mid(b, e - b);
}
