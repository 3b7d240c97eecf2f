#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Rows as a spreadsheet exchanges them: one line per row, cells split by tabs, lines ended by
// CR LF.
QString Rows_To_Tab_Text(const QList<QStringList>& rows);
// The reverse, for text a spreadsheet put on the clipboard: a closing line break adds no row;
// a cell in double quotes (a spreadsheet's way for a cell with a tab or a line break) loses
// them, "" inside becoming ".
QList<QStringList> Tab_Text_To_Rows(const QString& text);

// A number cell's value in the other base, for its tooltip: "0xFEF1 = 65265", "128 = 0x80";
// empty for a text that is no number.
QString Number_Tip(const QString& text);

// Hex digits without a prefix ("FEF1"): what a user meant as hexadecimal but the number syntax
// refuses. Plain decimal digits do not count.
bool Is_Bare_Hex(const QString& text);
