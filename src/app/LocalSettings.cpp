#include "app/LocalSettings.h"

#include <QDir>
#include <QSettings>

namespace {

QString Size_Key(const QString& window)
{
    return QStringLiteral("Window_Size/") + window;
}

// Larger than any screen: a hand-edited or damaged value must not open a window off all bounds.
constexpr int Largest_Side = 16384;

} // namespace

Local_Settings::Local_Settings(QString programDir)
    : m_path(programDir.isEmpty() ? QString() : QDir(programDir).filePath(File_Name()))
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
