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

// The default language and an active configuration "Test" in PROJECTS below `programDir`, its
// folder made and the shared file names set, as after opening it.
void Open_Test_Configuration(const QString& programDir);

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

// Any program, run the same way, with a longer wait where it builds or unpacks.
Cli_Run Run_Program(const QString& program, const QStringList& args, int timeoutMs = 60000);

// The same run with its output as text.
struct Cli_Text_Run {
    int code = -1;
    QString out;
    QString err;
};
Cli_Text_Run Run_Cli_Text(const QStringList& args);

// The records of an RFC 4180 text (CR LF or LF line ends, quoted cells), cells as text.
QList<QStringList> Split_Csv(const QByteArray& bytes);

// Where grabbed window pictures go (build/screenshots); created on demand.
QString Screenshot_Path(const QString& name);

// Writes a shell script (a fake external tool) and makes it executable.
void Write_Script(const QString& path, const QByteArray& body);

// A small file system of its own (a tmpfs mounted on a fresh folder) for tests of a full
// disk; unmounted again on destruction. Mounting needs root: where it is refused, `ok()` is
// false and `reason()` says why (the test skips with it).
class Small_Disk {
public:
    explicit Small_Disk(qint64 bytes);
    ~Small_Disk();
    Small_Disk(const Small_Disk&) = delete;
    Small_Disk& operator=(const Small_Disk&) = delete;

    bool ok() const { return m_mounted; }
    const QString& reason() const { return m_reason; }
    QString path() const { return m_dir.path(); }
    // Fills the disk with a file of its own until at most `bytes` stay free.
    void Leave_Free(qint64 bytes);
    // Frees the space taken by Leave_Free.
    void Release();

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_reason;
};
