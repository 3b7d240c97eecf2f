#pragma once

#include <QString>

// Text of slot n of the string table ("message n"); a blank for an index out of range.
QString Msg(int n);

// The built-in English text of slot n, whatever language is loaded; a blank when it has none.
QString Default_Msg(int n);

// Fills Lang_Table with the 1000 built-in English texts.
void Load_Default_Language();

// Applies one language file to the already filled table.
// Returns false only when the file cannot be opened; bad lines are skipped one by one.
bool Read_Lng_File(const QString& path);

// The built-in texts, then the file of Language_Name, else English (which changes Language_Name).
void Load_Language();

// Decodes a language file: a byte-order mark selects UTF-8 or UTF-16, else Windows-1252.
QString Decode_Lng_Bytes(const QByteArray& bytes);

// Applies one line; exposed so that the line rules can be tested one by one.
void Apply_Lng_Line(const QString& line);
