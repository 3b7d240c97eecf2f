#pragma once

#include <QString>
#include <QStringList>

// Languages shown on one page of the options window, in two columns of three.
constexpr int Languages_Per_Page = 6;

// The language files of `dir` that can be chosen: names of the "*.lng" files (with extension),
// folders and read-only files left out, sorted ignoring letter case.
QStringList List_Language_Files(const QString& dir);

int Language_Page_Count(int languages);

// How many languages page `page` (from 1) shows: 0 to 6.
int Languages_On_Page(int languages, int page);

// "English.lng" -> "English".
QString Language_Of_File(const QString& fileName);

// The flag picture of `language`: its own, else DefaultFlag.bmp, else empty (no picture).
QString Flag_Picture_Path(const QString& dir, const QString& language);
