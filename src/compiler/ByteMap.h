#pragma once

#include "configurations/ConfigFiles.h"

#include <QList>
#include <QString>

#include <optional>

// Where each row's data lies in the device's data area, as the compiled images hold it.
struct Byte_Map_Row {
    int row = 0;              // 1-based, file order
    quint16 Data_Offset = 0;  // the stored record fields
    quint16 Byte_Count = 0;
    qint32 Data_Page = 0;     // the row's cells read as the compiler reads them
    qint32 PGN = 0;
    qint32 SA = 0;
    std::optional<qint32> Start_Byte; // receive rows only
    QString Mnemonic;
    bool operator==(const Byte_Map_Row&) const = default;
};

struct Byte_Map_Table {
    QList<Byte_Map_Row> rows;
    quint32 Data_Size = 0; // the header's data size of the table
    bool Over_Budget() const;
};

struct Byte_Map {
    Byte_Map_Table receive;
    Byte_Map_Table transmit;
};

// The map of what Compile_Bin left in Config_Image, the rows being the ones it compiled.
Byte_Map Byte_Map_Of_Image(const QList<Receive_Frame_Row>& receive,
                           const QList<Send_Frame_Row>& transmit);

// Compiles the active configuration (Shared's file paths) and maps the result; writes no
// file. Throws App_Error as Compile_Bin does.
Byte_Map Compile_Byte_Map();

// One line per row for a spreadsheet; the header line first, CR LF line ends.
QByteArray Byte_Map_Csv(const Byte_Map& map);

// "0x" and four upper-case hex digits (more digits when the value needs them).
QString Pgn_Text(qint32 pgn);
