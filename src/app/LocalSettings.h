#pragma once

#include <QSize>
#include <QString>

// Values of this machine that the settings file Tessaform.xml does not hold (its stored form
// stays as it is): an INI file of its own beside the settings file.
class Local_Settings final {
public:
    // `dir` empty: nothing is read or written (no program folder known yet).
    explicit Local_Settings(QString dir);

    static QString File_Name() { return QStringLiteral("LocalSettings.ini"); }

    // The size the user last gave a window; invalid when none is stored or it is unusable.
    QSize Window_Size(const QString& window) const;
    // Throws nothing: a size that cannot be stored is simply not remembered.
    void Set_Window_Size(const QString& window, const QSize& size) const;

    // The zero-based entry of the firmware window's COM list the flash tool was last started
    // with; -1 when none is stored or it is not a number from 0 to `count` - 1.
    int Last_Com_Port(int count) const;
    void Set_Last_Com_Port(int index) const;

private:
    QString m_path;
};
