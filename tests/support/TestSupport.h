#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A fresh program folder for one test: the shared state is reset and points into it.
class Program_Folder {
public:
    Program_Folder();
    QString path() const { return m_dir.path(); }
    QString file(const QString& relative) const { return m_dir.filePath(relative); }
    // Writes a file below the folder, creating its parents.
    void write(const QString& relative, const QByteArray& data) const;
    QByteArray read(const QString& relative) const;

private:
    QTemporaryDir m_dir;
};

// Resets every shared value to its state before start-up.
void Reset_Shared();

QString Test_Data(const QString& relative);
QByteArray Read_All(const QString& path);

// One run of sw38591-cli (the path ctest puts in SW38591_CLI). A run that does not finish
// within a minute, or crashes, has exit code -1.
struct Cli_Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};
Cli_Run Run_Cli(const QStringList& args);

// Where grabbed window pictures go (build/screenshots); created on demand.
QString Screenshot_Path(const QString& name);

// Writes a shell script (a fake external tool) and makes it executable.
void Write_Script(const QString& path, const QByteArray& body);
