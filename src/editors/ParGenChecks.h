#pragma once

#include "configurations/ConfigFiles.h"

#include <QStringList>

// Entries of the four lists of the settings editor.
inline constexpr int Device_Type_Count = 2;
inline constexpr int Can_Baud_Count = 9;
inline constexpr int How_Send_Count = 2;
inline constexpr int Net_Baud_Count = 3;

// The two baud-rate lists; their entries are never translated.
const QStringList& Can_Baud_Items();
const QStringList& Net_Baud_Items();

// The list position a stored text selects: read with Text_To_Int and `def`; a position outside
// the list's `count` entries selects nothing (-1).
int List_Position(const QString& text, int def, int count);

// `stored` as the editor's controls hold it after loading: list positions in decimal ("-1" for
// no selection), check boxes "1" or "0", texts as they stand. This is also what OK would write.
ParGen_Settings ParGen_As_Shown(const ParGen_Settings& stored);

// Message number of the first check that fails, 0 when all pass. `s` holds the values as the
// editor's controls hold them (see ParGen_As_Shown).
int ParGen_First_Failure(const ParGen_Settings& s);

// The error box OK would show right after the editor opened the file at `path` (its defaults
// for a missing file or element), or an empty text when OK would save. The text comes from the
// string table, which must be filled.
// Throws App_Error when the file is not well-formed XML.
QString Check_ParGen_File(const QString& path);
