#pragma once

#include "configurations/ConfigFiles.h"

#include <QList>
#include <QString>

// J1939 advice on the frame tables: things the device accepts silently but that are almost
// always mistakes. Never blocks saving or compiling.

// What the advice needs of the communication settings, read as the compiler reads them.
struct Frame_Context {
    quint8 own_address = 0; // J1939_Device_ID, the converter's own source address
    bool peer_to_peer = false;
    bool operator==(const Frame_Context&) const = default;
};
Frame_Context Frame_Context_Of(const ParGen_Settings& s);
// From a stored ParGen.xml; a missing file gives the defaults. Throws App_Error when the file
// is not well-formed.
Frame_Context Read_Frame_Context(const QString& parGenPath);

struct Frame_Warning {
    int row = 0;     // 1-based table row
    int column = 0;  // 0-based cell of the row (Row::field), the cell to fix
    int message = 0; // the advice's text
    QString value;   // appended to the text (an address, a row number), may be empty
    bool operator==(const Frame_Warning&) const = default;
};

// Rows up to the first one whose key cell is blank, as they are saved; cells that fail the
// checks are left to the checks. `reduced`: hidden columns are not looked at.
QList<Frame_Warning> Receive_Warnings(const QList<Receive_Frame_Row>& rows,
                                      const Frame_Context& context, bool reduced);
QList<Frame_Warning> Send_Warnings(const QList<Send_Frame_Row>& rows, const Frame_Context& context,
                                   bool reduced);

QString Warning_Text(const Frame_Warning& w);

// The PGNs the J1939 protocol itself uses for network management; for a PDU1 PGN (high byte
// below 0xF0) only the high byte counts, so 0xEEFF is an address claim to all.
bool Is_Network_Management_Pgn(quint32 pgn);

// Slots of the advice texts.
namespace Warning_Msg {
inline constexpr int Null_Or_Global_Source = 903, Own_Address_Received = 904,
                     Not_Own_Address_Sent = 905, Duplicate = 906, Needs_Transport = 907,
                     Other_Destination = 908, Network_Management = 909;
}
