#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

// A reader of the CAN databases that engine and transmission makers hand out, enough to fill
// the frame tables: messages with their senders, sizes, names, comments and attributes;
// signals only for showing what a message holds. Sections the tables have no use for are
// passed over up to their closing semicolon.

struct Dbc_Signal {
    QString name;
    QString multiplex; // "", "M" (the multiplexer) or "m<N>" (present when it reads N)
    int start = 0, length = 0;
    bool little_endian = true, is_signed = false;
    double factor = 1, offset = 0, minimum = 0, maximum = 0;
    QString unit;
    QStringList receivers;
    QString comment;
    QMap<qint64, QString> values; // VAL_ descriptions
};

struct Dbc_Message {
    quint32 id = 0; // as written: bit 31 marks an extended frame
    QString name;
    int size = 0;
    QString sender;
    QStringList transmitters; // BO_TX_BU_: further senders
    QList<Dbc_Signal> signal_list;
    QString comment;
    QMap<QString, QString> attributes; // BA_ values, enumerations by their name
    int line = 0;
};

struct Dbc_File {
    QString version;
    QStringList nodes;
    QList<Dbc_Message> messages;
};

// Throws App_Error "<file>, line <N>: expected <what>, found <token>" for a file it cannot read.
// Takes UTF-8 (with or without a BOM) or Windows-1252, CR LF or LF.
Dbc_File Parse_Dbc(const QByteArray& bytes, const QString& fileName);
// Also throws App_Error naming the file when it cannot be opened.
Dbc_File Read_Dbc_File(const QString& path);

// A DBC identifier taken apart as J1939 does.
struct J1939_Id {
    bool extended = false; // a 29-bit identifier
    quint32 can_id = 0;    // bit 31 cleared
    int priority = 0;
    bool extended_data_page = false;
    int data_page = 0;
    int pdu_format = 0, pdu_specific = 0;
    // PDU format and PDU specific, as the tables hold it: for PDU1 (format below 240) the low
    // byte is the destination address, which the device compares with its own.
    quint32 pgn = 0;
    int source_address = 0;
    bool operator==(const J1939_Id&) const = default;
};
// `frameFormat` is the message's VFrameFormat, empty when it has none. Without bit 31 an
// identifier above 0x7FF, or one whose format names an extended or J1939 frame, still counts as
// 29-bit: not every tool sets the bit.
J1939_Id Split_J1939_Id(quint32 dbcId, const QString& frameFormat = {});

inline constexpr int Dbc_No_Budget = 1 << 30;

// The rows the messages of a file give one table.
struct Dbc_Choice {
    bool receive = true;
    QStringList names;           // the messages to take; empty: every one that fits
    std::optional<int> sa;       // the source address of every row; none: the file's
    QList<QStringList> existing; // the table's rows now, ten cells each (duplicates)
    int rows_left = 0;
    int bytes_left = 0; // of the byte budget; Dbc_No_Budget where the budget does not apply
};

// Why a message gives no row, for a window that says it in the user's language.
enum class Dbc_Skip {
    None,
    Not_Can,
    Standard_Frame,
    Extended_Data_Page,
    Too_Large,
    No_Data,
    Duplicate,
    No_Room
};

struct Dbc_Row {
    QString message;
    quint32 id = 0;
    QStringList cells; // the row, when taken
    QString skipped;   // why not, when not taken
    Dbc_Skip skip = Dbc_Skip::None;
    int duplicate_of = 0; // Duplicate: the 1-based table row that holds the frame already
    QStringList notes;    // said about a taken row
};

struct Dbc_Mapping {
    QList<Dbc_Row> rows; // in file order, taken and skipped
    int rows_taken = 0, bytes_taken = 0;
};

// Throws App_Error when a chosen name is not in the file, or when the chosen messages do not
// fit into the rows or bytes left.
Dbc_Mapping Map_Dbc_Messages(const Dbc_File& file, const Dbc_Choice& choice);

// The largest byte count a frame of the tables may have.
inline constexpr int Dbc_Max_Frame_Bytes = 455;
