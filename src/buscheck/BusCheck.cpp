#include "buscheck/BusCheck.h"

#include "app/UComon.h"
#include "compiler/USaveBincc.h"

#include <cmath>
#include <cstring>

namespace {

constexpr quint8 Pf_Address_Claim = 0xEE;
constexpr quint32 Key_Mask = 0x03FFFFFF; // priority is not part of what the device compares

} // namespace

Bus_Check_Setup Setup_From_Image(const Config_Image_Data& image)
{
    Bus_Check_Setup s;
    const auto& h = image.Image_Header;
    const int n = int(qMin<quint32>(h.Receive_Row_Count, Config_Image_Data::Frame_Count));
    s.rows.assign(image.Receive_Records.begin(), image.Receive_Records.begin() + n);
    s.peer_to_peer = (h.Option_Flags & Option_Peer_To_Peer) != 0;
    s.device_address = quint8(h.J1939_Device_Address);
    s.bit_rate = h.J1939_Bit_Rate;
    s.data_size = int(h.Receive_Data_Size);
    return s;
}

Bus_Check_Setup Load_Bus_Check_Setup(const QString& confDir)
{
    const Shared_State saved = Shared;
    struct Restore {
        const Shared_State& s;
        ~Restore() { Shared = s; }
    } restore{saved};
    Shared.Conf_Dir = confDir;
    Set_Files();
    Compile_Bin();
    return Setup_From_Image(Config_Image);
}

void Frame_Stats::Add(qint64 time_us, bool has_time)
{
    if (count == 0)
        first_us = time_us;
    last_us = time_us;
    timed = timed && has_time;
    ++count;
}

double Frame_Stats::Mean_Period_ms() const
{
    if (count < 2 || !timed)
        return -1;
    return double(last_us - first_us) / 1000.0 / double(count - 1);
}

Bus_Check::Bus_Check(Bus_Check_Setup setup) : m_setup(std::move(setup))
{
    m_rows.resize(m_setup.rows.size());
    for (size_t i = 0; i < m_setup.rows.size(); ++i)
        m_by_key[Key(m_setup.rows[i].Identifier)].push_back(int(i));
}

void Bus_Check::Feed(const Can_Frame& f)
{
    ++m_frames;
    if (!f.extended) {
        ++m_standard; // J1939 uses extended identifiers only
        return;
    }
    if (f.remote)
        return;
    const quint8 sa = Id_Sa(f.id);
    if (sa == m_setup.device_address) {
        ++m_trouble.own_address;
        if (Id_Pf(f.id) == Pf_Address_Claim)
            ++m_trouble.own_claims;
    }
    if (sa == 254)
        ++m_trouble.null_address;
    else if (sa == 255)
        ++m_trouble.global_address;

    const quint8 pf = Id_Pf(f.id);
    if ((pf == Pf_Tp_Cm || pf == Pf_Tp_Dt) && !m_by_key.count(Key(f.id))) {
        // Transport frames are the carrier, not a message a row is missing.
        if (m_tp.Feed(f, m_message))
            Take(m_message.id, reinterpret_cast<const quint8*>(m_message.data.constData()),
                 int(m_message.data.size()), m_message.time_us, m_message.timed, true);
        return;
    }
    Take(f.id, f.data.data(), f.size, f.time_us, f.timed, false);
}

void Bus_Check::Take(quint32 id, const quint8* data, int size, qint64 time_us, bool timed,
                     bool transport)
{
    bool taken = false;
    if (const auto it = m_by_key.find(Key(id)); it != m_by_key.end()) {
        for (const int r : it->second) {
            // A reassembled message reaches only a row with the transport protocol ticked.
            if (transport && m_setup.rows[size_t(r)].Transport == 0)
                continue;
            Row_Result& row = m_rows[size_t(r)];
            row.stats.Add(time_us, timed);
            // Reuses the bytes of the previous frame: no allocation per frame.
            row.last_data.resize(size);
            if (size > 0)
                std::memcpy(row.last_data.data(), data, size_t(size));
            row.senders.set(Id_Sa(id));
            taken = true;
        }
    }
    if (taken)
        return;
    const quint32 key = id & Key_Mask;
    auto [at, added] = m_unmatched_at.try_emplace(key, m_unmatched.size());
    if (added) {
        m_unmatched.emplace_back();
        m_unmatched.back().key = key;
    }
    Unmatched_Frame& u = m_unmatched[at->second];
    u.stats.Add(time_us, timed);
    u.size = size;
    u.transport = transport;
}

QList<int> Bus_Check::Rows_With_Several_Senders() const
{
    QList<int> out;
    if (!m_setup.peer_to_peer)
        return out;
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].senders.count() > 1)
            out << int(i);
    return out;
}

QByteArray Bus_Check::Data_Area() const
{
    QByteArray area(qMax(0, m_setup.data_size), '\0');
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const Frame_Record& rec = m_setup.rows[i];
        const QByteArray& d = m_rows[i].last_data;
        for (int k = 0; k < rec.Byte_Count; ++k) {
            const int from = rec.Start_Byte + k;
            const int to = rec.Data_Offset + k;
            if (from >= d.size() || to >= area.size())
                break;
            area[to] = d[from];
        }
    }
    return area;
}

QStringList Receive_Row_For(const Unmatched_Frame& u)
{
    // Kept bytes within the table's budget of 455; a longer message keeps its start.
    const int keep = qBound(1, u.size, 455);
    return {QString::number(u.Data_Page()),
            QStringLiteral("0x%1")
                .arg(u.Pgn(), 4, 16, QLatin1Char('0'))
                .toUpper()
                .replace(QLatin1String("0X"), QLatin1String("0x")),
            QString::number(u.Sa()),
            u.size > 8 ? QStringLiteral("Y") : QStringLiteral("N"),
            QStringLiteral("0"),
            QString::number(keep),
            QStringLiteral("N"),
            QStringLiteral("N"),
            QStringLiteral("1000"),
            QString()};
}
