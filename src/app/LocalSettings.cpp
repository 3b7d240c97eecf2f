#include "app/LocalSettings.h"

#include <QDir>
#include <QSettings>

namespace {

QString Size_Key(const QString& window)
{
    return QStringLiteral("Window_Size/") + window;
}

const QString Com_Port_Key = QStringLiteral("Serial/Last_Com_Port");

// Larger than any screen: a hand-edited or damaged value must not open a window off all bounds.
constexpr int Largest_Side = 16384;

} // namespace

Local_Settings::Local_Settings(QString dir)
    : m_path(dir.isEmpty() ? QString() : QDir(dir).filePath(File_Name()))
{
}

QSize Local_Settings::Window_Size(const QString& window) const
{
    if (m_path.isEmpty())
        return {};
    const QSettings ini(m_path, QSettings::IniFormat);
    const QStringList parts = ini.value(Size_Key(window)).toString().split(QLatin1Char('x'));
    if (parts.size() != 2)
        return {};
    bool okW = false, okH = false;
    const int w = parts.at(0).toInt(&okW), h = parts.at(1).toInt(&okH);
    if (!okW || !okH || w < 1 || h < 1 || w > Largest_Side || h > Largest_Side)
        return {};
    return {w, h};
}

void Local_Settings::Set_Window_Size(const QString& window, const QSize& size) const
{
    if (m_path.isEmpty() || !size.isValid())
        return;
    QSettings ini(m_path, QSettings::IniFormat);
    ini.setValue(Size_Key(window),
                 QString::number(size.width()) + QLatin1Char('x') + QString::number(size.height()));
    ini.sync();
}

int Local_Settings::Last_Com_Port(int count) const
{
    if (m_path.isEmpty())
        return -1;
    const QSettings ini(m_path, QSettings::IniFormat);
    bool ok = false;
    const int index = ini.value(Com_Port_Key).toString().toInt(&ok);
    return ok && index >= 0 && index < count ? index : -1;
}

void Local_Settings::Set_Last_Com_Port(int index) const
{
    if (m_path.isEmpty() || index < 0)
        return;
    QSettings ini(m_path, QSettings::IniFormat);
    ini.setValue(Com_Port_Key, QString::number(index));
    ini.sync();
}
