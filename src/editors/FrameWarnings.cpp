#include "editors/FrameWarnings.h"

#include "configurations/TextToInt.h"
#include "language/ULanguage.h"

#include <QHash>

#include <optional>

namespace {

std::optional<qint32> In_Range(const QString& text, qint32 low, qint32 high)
{
    if (!Text_In_Range(text, low, high))
        return std::nullopt;
    return Text_To_Int(text, 0);
}

bool Blank(const QString& text)
{
    return text.trimmed().isEmpty();
}

// The identity of a frame on the bus as the device matches it.
quint64 Identity_Key(qint32 dataPage, qint32 pgn, std::optional<qint32> sa)
{
    return quint64(dataPage & 1) << 32 | quint64(pgn) << 8 | quint64(sa ? *sa : 0x100) << 40;
}

struct Duplicates {
    QHash<quint64, int> first_row;
    void Look(quint64 key, int row, int column, QList<Frame_Warning>& out)
    {
        const auto it = first_row.constFind(key);
        if (it != first_row.constEnd())
            out.append({row, column, Warning_Msg::Duplicate, QString::number(*it)});
        else
            first_row.insert(key, row);
    }
};

// Column indexes of the row structures.
namespace Rx {
constexpr int PGN = 1, SA = 2, NumBytes = 5;
}
namespace Tx {
constexpr int PGN = 2, SA = 3;
}

} // namespace

bool Is_Network_Management_Pgn(quint32 pgn)
{
    if ((pgn >> 8) < 0xF0) {
        switch (pgn & 0xFF00) {
        case 0xEA00: // request
        case 0xEE00: // address claim
        case 0xEC00: // transport protocol, connection management
        case 0xEB00: // transport protocol, data transfer
        case 0xE800: // acknowledgement
            return true;
        default:
            return false;
        }
    }
    return pgn == 0xFED8; // commanded address
}

Frame_Context Frame_Context_Of(const ParGen_Settings& s)
{
    Frame_Context c;
    c.own_address = quint8(Text_To_Int(s.J1939_Device_ID, 0));
    c.peer_to_peer = s.PeerToPeer == QLatin1String("1");
    return c;
}

Frame_Context Read_Frame_Context(const QString& parGenPath)
{
    return Frame_Context_Of(Read_ParGen(parGenPath).values);
}

QList<Frame_Warning> Receive_Warnings(const QList<Receive_Frame_Row>& rows,
                                      const Frame_Context& context, bool reduced)
{
    QList<Frame_Warning> out;
    Duplicates seen;
    for (int i = 0; i < rows.size(); ++i) {
        const Receive_Frame_Row& r = rows.at(i);
        const int row = i + 1;
        if (Blank(r.PGN))
            break;
        const auto pgn = In_Range(r.PGN, 0, 65535);
        const auto sa = In_Range(r.SA, 0, 255);
        const auto dataPage = In_Range(r.DataPage, 0, 1);
        if (sa && *sa >= 254)
            out.append({row, Rx::SA, Warning_Msg::Null_Or_Global_Source, {}});
        if (sa && *sa == context.own_address && !context.peer_to_peer)
            out.append({row, Rx::SA, Warning_Msg::Own_Address_Received, {}});
        if (pgn && dataPage) {
            // Under peer-to-peer the device does not look at the source address.
            seen.Look(Identity_Key(*dataPage, *pgn, context.peer_to_peer ? std::nullopt : sa), row,
                      Rx::PGN, out);
        }
        if (!reduced && r.TransportProtocol != QLatin1String("Y")) {
            const qint64 start = Blank(r.StartByte) ? 0 : Text_To_Int(r.StartByte, 0);
            const qint64 count = Blank(r.NumBytes) ? 8 : Text_To_Int(r.NumBytes, 0);
            if (start >= 0 && count >= 1 && start + count > 8)
                out.append({row, Rx::NumBytes, Warning_Msg::Needs_Transport, {}});
        }
        if (pgn && (*pgn >> 8) < 0xF0 && !(dataPage == 0 && Is_Network_Management_Pgn(*pgn))) {
            const int destination = *pgn & 0xFF;
            if (destination != context.own_address && destination != 0xFF)
                out.append({row, Rx::PGN, Warning_Msg::Other_Destination,
                            QString::number(context.own_address)});
        }
        if (pgn && dataPage == 0 && Is_Network_Management_Pgn(*pgn))
            out.append({row, Rx::PGN, Warning_Msg::Network_Management, {}});
    }
    return out;
}

QList<Frame_Warning> Send_Warnings(const QList<Send_Frame_Row>& rows, const Frame_Context& context,
                                   bool reduced)
{
    Q_UNUSED(reduced); // every rule looks at cells both layouts show
    QList<Frame_Warning> out;
    Duplicates seen;
    for (int i = 0; i < rows.size(); ++i) {
        const Send_Frame_Row& r = rows.at(i);
        const int row = i + 1;
        if (Blank(r.Priority))
            break;
        const auto pgn = In_Range(r.PGN, 0, 65535);
        const auto sa = In_Range(r.SA, 0, 255);
        const auto dataPage = In_Range(r.DataPage, 0, 1);
        if (sa && *sa != context.own_address)
            out.append({row, Tx::SA, Warning_Msg::Not_Own_Address_Sent,
                        QString::number(context.own_address)});
        if (pgn && dataPage)
            seen.Look(Identity_Key(*dataPage, *pgn, sa), row, Tx::PGN, out);
        if (pgn && dataPage == 0 && Is_Network_Management_Pgn(*pgn))
            out.append({row, Tx::PGN, Warning_Msg::Network_Management, {}});
    }
    return out;
}

QString Warning_Text(const Frame_Warning& w)
{
    return Msg(w.message) + w.value;
}
