#pragma once

#include "buscheck/CanLog.h"

#include <QByteArray>

#include <unordered_map>
#include <vector>

// A J1939 message carried by the transport protocol, reassembled from its packets.
struct Tp_Message {
    quint32 id = 0; // priority, data page, PGN and sender as a single frame of it would carry
    QByteArray data;
    qint64 time_us = 0; // of the last packet
    bool timed = false;
};

inline constexpr quint8 Pf_Tp_Cm = 0xEC;
inline constexpr quint8 Pf_Tp_Dt = 0xEB;

// Reassembles BAM and RTS/CTS transfers (TP.CM, TP.DT) as a listener on the bus sees them.
// Transfers are kept apart by sender and receiver, so several may run at the same time.
class Tp_Reassembler final {
public:
    // True when `f` was the last packet of a transfer; `out` then holds the message.
    bool Feed(const Can_Frame& f, Tp_Message& out);
    // Transfers announced but not complete.
    int Open_Transfers() const { return int(m_sessions.size()); }

private:
    struct Session {
        quint32 pgn = 0; // 18 bits: extended data page, data page, PDU format, PDU specific
        quint8 priority = 0;
        int size = 0;
        int packets = 0;
        int received = 0;
        std::vector<bool> have;
        QByteArray data;
    };
    std::unordered_map<quint16, Session> m_sessions; // key: sender << 8 | receiver
};

// The PDU format, PDU specific and source address bytes of an extended identifier.
inline quint8 Id_Pf(quint32 id)
{
    return quint8(id >> 16);
}
inline quint8 Id_Ps(quint32 id)
{
    return quint8(id >> 8);
}
inline quint8 Id_Sa(quint32 id)
{
    return quint8(id);
}
