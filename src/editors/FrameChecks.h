#pragma once

#include "configurations/ConfigFiles.h"

#include <QList>
#include <QString>

#include <optional>

// The first failing check of a table: table row (1-based) and the message number of the check.
struct Frame_Check_Failure {
    int row = 0;
    int message = 0;
    bool operator==(const Frame_Check_Failure&) const = default;
};

// The checks the editors run on OK, over the table rows from row 1. They stop at the first row
// whose key cell is blank, as the save does. `reduced`: the table of the device without
// Ethernet port, whose hidden columns are not checked.
std::optional<Frame_Check_Failure> Check_Receive_Rows(const QList<Receive_Frame_Row>& rows,
                                                      bool reduced);
std::optional<Frame_Check_Failure> Check_Send_Rows(const QList<Send_Frame_Row>& rows, bool reduced);

// Every failing row, each with its first failing check, in row order: what the table shows
// while it is edited and `check --all` prints. The first entry is the failure OK reports.
QList<Frame_Check_Failure> All_Receive_Failures(const QList<Receive_Frame_Row>& rows, bool reduced);
QList<Frame_Check_Failure> All_Send_Failures(const QList<Send_Frame_Row>& rows, bool reduced);

// The bytes the rows up to the first blank key cell take of the budget, counted as the checks
// count them: an empty receive Num Bytes is 8; a count its own check refuses adds nothing.
int Receive_Bytes_Used(const QList<Receive_Frame_Row>& rows);
int Send_Bytes_Used(const QList<Send_Frame_Row>& rows);

// The 0-based cell (Row::field) a check's message is about; -1 for another message.
int Failure_Column(int message);

// The error box text: the window's "Error in row " message, the row, the check's message.
QString Check_Failure_Text(int prefixMessage, const Frame_Check_Failure& failure);

// The byte budget the device has for the data of all frames of one table.
inline constexpr int Frame_Byte_Budget = 455;
