#include "buscheck/Transport.h"

namespace {

enum : quint8 { Cm_Rts = 16, Cm_Cts = 17, Cm_End_Ack = 19, Cm_Bam = 32, Cm_Abort = 255 };

constexpr int Tp_Max_Size = 1785; // 255 packets of 7 bytes

} // namespace

bool Tp_Reassembler::Feed(const Can_Frame& f, Tp_Message& out)
{
    if (!f.extended || f.remote)
        return false;
    const quint8 pf = Id_Pf(f.id);
    const quint8 sa = Id_Sa(f.id);
    const quint8 da = Id_Ps(f.id);
    const quint16 key = quint16(sa << 8 | da);
    if (pf == Pf_Tp_Cm && f.size == 8) {
        const quint8 control = f.data[0];
        if (control == Cm_Abort) {
            // Either side may abort: the transfer runs from the one to the other.
            m_sessions.erase(key);
            m_sessions.erase(quint16(da << 8 | sa));
            return false;
        }
        if (control != Cm_Bam && control != Cm_Rts)
            return false; // CTS and the end acknowledgement move no data
        if ((control == Cm_Bam) != (da == 0xFF))
            return false;
        Session s;
        s.size = f.data[1] | f.data[2] << 8;
        s.packets = f.data[3];
        s.pgn = quint32(f.data[5] | f.data[6] << 8 | f.data[7] << 16) & 0x3FFFF;
        s.priority = quint8((f.id >> 26) & 7);
        if (s.size < 9 || s.size > Tp_Max_Size || s.packets != (s.size + 6) / 7) {
            m_sessions.erase(key);
            return false;
        }
        s.have.assign(size_t(s.packets), false);
        s.data = QByteArray(s.size, '\0');
        // A new announcement replaces an unfinished transfer between the same two nodes.
        m_sessions[key] = std::move(s);
        return false;
    }
    if (pf != Pf_Tp_Dt || f.size < 1)
        return false;
    const auto it = m_sessions.find(key);
    if (it == m_sessions.end())
        return false;
    Session& s = it->second;
    const int seq = f.data[0];
    if (seq < 1 || seq > s.packets)
        return false;
    if (!s.have[size_t(seq - 1)]) {
        s.have[size_t(seq - 1)] = true;
        ++s.received;
    }
    // A packet resent after a CTS overwrites its first copy.
    const int at = (seq - 1) * 7;
    for (int i = 1; i < f.size && at + i - 1 < s.size; ++i)
        s.data[at + i - 1] = char(f.data[size_t(i)]);
    if (s.received < s.packets)
        return false;
    quint32 pgn = s.pgn;
    // A PDU1 message is addressed: its PDU specific byte is the receiver of the transfer.
    if (((pgn >> 8) & 0xFF) < 0xF0)
        pgn = (pgn & 0x3FF00) | da;
    out.id = quint32(s.priority) << 26 | pgn << 8 | sa;
    out.data = std::move(s.data);
    out.time_us = f.time_us;
    out.timed = f.timed;
    m_sessions.erase(it);
    return true;
}
