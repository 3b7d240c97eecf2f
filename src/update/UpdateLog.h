#pragma once

#include "app/Launcher.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

// The record of every hand-over to an update tool: update-log.csv in the configuration folder,
// one header line, then one line per hand-over, never rewritten. RFC 4180, CR LF, UTF-8.

inline const QString Update_Log_Name = QStringLiteral("update-log.csv");

// A file handed to a tool, as it was at the hand-over.
struct Update_File {
    QString path;
    qint64 size = -1; // -1: could not be read, and no hash either
    QString sha256;   // lower-case hex
};
Update_File Describe_Update_File(const QString& path);

struct Update_Record {
    QDateTime when; // local time
    QString route;  // "serial" or "Ethernet"
    QString target; // the COM port, or the device address as typed
    QString choice; // what is updated
    QList<Update_File> files; // at most two are recorded
    QString status;           // see Tool_Status
};

// The tool's outcome as recorded: "started" (not waited for), "exit status N",
// "ended abnormally", or "running after N s" when it outlived a wait of `limitMs`.
QString Tool_Status(const Process_Launcher::Wait_Result& r, int limitMs);
inline const QString Tool_Started_Status = QStringLiteral("started");

// ISO 8601 local time with its offset from UTC, to the second: 2026-12-11T16:05:09+01:00.
QString Record_Time_Text(const QDateTime& when);

QByteArray Update_Log_Header();
QByteArray Update_Record_Line(const Update_Record& r);

// Appends one line (and the header when the file is new or empty) to confDir/update-log.csv
// with one checked write and a sync; a failed write is cut off again, so earlier records stay
// byte for byte. A file without the owner's write permission counts as read-only, as for every
// file the program writes. Throws App_Error with the message to show (naming the file and the
// reason).
void Append_Update_Record(const QString& confDir, const Update_Record& r);
