#pragma once

#include "compiler/ByteMap.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// The commissioning report as a sequence of blocks, in the user's language, ready to be laid
// out on pages by whatever draws it.

struct Report_Bar_Box {
    quint32 offset = 0;
    quint32 bytes = 0;
    QString label;
};

struct Report_Block {
    enum class Kind { Title, Heading, Line, Alert, Table, Bar };
    Kind kind = Kind::Line;
    QString text;
    QStringList headers;     // Table
    QList<QStringList> rows; // Table
    QList<Report_Bar_Box> boxes; // Bar
    quint32 budget = 0;          // Bar: the bytes the device has
    quint32 used = 0;            // Bar: the data size
};

struct Report_Document {
    QString title;
    QList<Report_Block> blocks;
    // Every text of the document in reading order, for checks without drawing.
    QStringList Texts() const;
};

// How many records of update-log.csv the report shows.
inline constexpr int Report_Update_Records = 10;

// Compiles the configuration in `confDir` in memory (Shared's files point into it afterwards)
// and gathers what the report shows. Writes no file. Throws App_Error when it cannot be
// compiled; failing checks go into the report, first.
Report_Document Make_Report(const QString& confDir, const QDateTime& when);

// The SHA-256 of a file in lower-case hex; empty when the file does not exist. Throws
// App_Error when it exists but cannot be read.
QString File_Sha256(const QString& path);
