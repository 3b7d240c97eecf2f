#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One difference between two configuration folders A and B, by stored value.
struct Config_Difference {
    enum class Kind { Value, Only_In_A, Only_In_B };
    QString file;   // "ParGen.xml", "Receive_Frame.xml" or "Send_Frame.xml"
    int row = 0;    // 1-based table row; 0 for ParGen.xml
    QString column; // the element, or the column title as the English table shows it
    int cell = -1;  // the table column, 0-based as in the row records; -1 for ParGen.xml
    QString a, b;   // the two values; for a row in one folder only, its cells joined by ", "
    Kind kind = Kind::Value;

    bool operator==(const Config_Difference&) const = default;
};

// The differences between the configuration folders `dirA` and `dirB`, in file order:
// ParGen.xml element by element as the settings editor reads it (a missing file or element
// as its defaults), then each frame table row by position, every row the file holds, with
// each differing cell, and the rows that only one folder holds. Throws App_Error for a file
// that cannot be read.
QList<Config_Difference> Compare_Configurations(const QString& dirA, const QString& dirB);

// The line that names `d`: `ParGen.xml: <element>: "<a>" -> "<b>"`,
// `<file>: row <N>: <column>: "<a>" -> "<b>"` or `<file>: row <N>: only in A` (or B).
QString Difference_Line(const Config_Difference& d);
