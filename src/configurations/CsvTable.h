#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Frame tables as spreadsheets read and write them: one header line with the column titles as
// the English table shows them, then one line per row with every cell, hidden ones included,
// exactly as stored.

struct Csv_Layout {
    QStringList titles;   // the English column titles, in row order (Row::field)
    QStringList names;    // the stored attribute names, taken as titles too
    QStringList defaults; // what a new row holds in each cell
    int key = 0;          // the cell whose blank ends the stored list
};
Csv_Layout Receive_Csv_Layout();
Csv_Layout Send_Csv_Layout();

// RFC 4180 with CR LF line ends, UTF-8 with a byte-order mark so that spreadsheets take the
// accents. A cell is quoted when it holds a comma, a quote, a line break, or a blank at either
// end (which a spreadsheet would drop).
QByteArray Csv_Text(const Csv_Layout& layout, const QList<QStringList>& rows);

// One cell as RFC 4180 writes it: quoted when it holds a separator, a quote, a line break or
// blanks at its ends (spreadsheets would trim them).
QString Csv_Quoted(const QString& cell);

struct Csv_Import {
    QList<QStringList> rows; // ten cells each, in row order
    QList<int> lines;        // the line each row starts on
    QStringList unknown;     // header titles that name no column, as written
    QChar separator;
};

// Takes comma, semicolon or tab separators (the one that makes most titles known), a BOM or
// none (then UTF-8, or Windows-1252 when the bytes are no UTF-8). Columns are matched by title
// in any order, case and outer blanks aside; a missing column gets the new-row default. Lines
// without any text are passed over. Throws App_Error "<file>, line <N>: <what>" for a quote
// left open, a line with another number of cells than the header, a title given twice, a
// missing key column or a row whose key cell is blank.
Csv_Import Read_Csv_Table(const QByteArray& bytes, const QString& fileName,
                          const Csv_Layout& layout);

// UTF-8 when the bytes are valid UTF-8 (a BOM is dropped), else Windows-1252: what files
// written on a technician's desktop hold.
QString Decode_Text_File(const QByteArray& bytes);

// Every record of a comma-separated file of any columns, the header line first, cells as
// written. Throws App_Error "<file>, line <N>: <what>" for broken quoting.
QList<QStringList> Read_Csv_Records(const QByteArray& bytes, const QString& fileName);
