#pragma once

#include "buscheck/CanLog.h"
#include "buscheck/Transport.h"
#include "compiler/ConfigImage.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <bitset>
#include <unordered_map>
#include <vector>

// What the device knows of a configuration for receiving: its compiled receive records and
// the settings that change matching.
struct Bus_Check_Setup {
    std::vector<Frame_Record> rows; // the receive entries in use, in row order
    bool peer_to_peer = false;
    quint8 device_address = 0;
    quint32 bit_rate = 0;
    int data_size = 0; // bytes of the receive data area
};

// Takes the receive records and settings out of a compiled image.
Bus_Check_Setup Setup_From_Image(const Config_Image_Data& image);

// Compiles the configuration in `confDir` with the configurator's compiler and takes its
// setup. The active configuration's paths are restored afterwards. Throws App_Error.
Bus_Check_Setup Load_Bus_Check_Setup(const QString& confDir);

// Counting and timing of one kind of frame.
struct Frame_Stats {
    qint64 count = 0;
    qint64 first_us = 0, last_us = 0;
    bool timed = true; // every frame counted carried a time
    void Add(qint64 time_us, bool has_time);
    // Mean time between two frames in ms; negative when unknown (fewer than two or untimed).
    double Mean_Period_ms() const;
};

struct Row_Result {
    Frame_Stats stats;
    QByteArray last_data;
    std::bitset<256> senders;
    bool Seen() const { return stats.count > 0; }
};

// A kind of frame that no row takes, by data page, PGN and source address.
struct Unmatched_Frame {
    quint32 key = 0; // identifier without priority
    Frame_Stats stats;
    int size = 0; // of the last one; more than 8 for a transport protocol message
    bool transport = false;
    quint8 Data_Page() const { return quint8((key >> 24) & 3); }
    quint16 Pgn() const { return quint16(key >> 8); }
    quint8 Sa() const { return quint8(key); }
};

struct Address_Trouble {
    qint64 own_address = 0;    // frames sent from the converter's own address
    qint64 own_claims = 0;     // address claims for it
    qint64 null_address = 0;   // source 254
    qint64 global_address = 0; // source 255
};

// The ten cells of a receive row that takes frames of this kind (the transport protocol ticked
// for a longer message), in stored order.
QStringList Receive_Row_For(const Unmatched_Frame& u);

// Holds a configuration against frames, as the device would take them.
class Bus_Check final {
public:
    explicit Bus_Check(Bus_Check_Setup setup);

    void Feed(const Can_Frame& f);

    const Bus_Check_Setup& Setup() const { return m_setup; }
    const std::vector<Row_Result>& Rows() const { return m_rows; }
    // In the order of their first frame.
    const std::vector<Unmatched_Frame>& Unmatched() const { return m_unmatched; }
    const Address_Trouble& Trouble() const { return m_trouble; }
    // Rows that under peer-to-peer took frames from more than one sender (0-based).
    QList<int> Rows_With_Several_Senders() const;
    // The receive data area as the device fills it from the last frame of each row.
    QByteArray Data_Area() const;
    qint64 Frames() const { return m_frames; }
    qint64 Standard_Frames() const { return m_standard; }

    // Matching key of an identifier: data page and PGN, and the source unless peer-to-peer.
    quint32 Key(quint32 id) const
    {
        return id & (m_setup.peer_to_peer ? 0x03FFFF00u : 0x03FFFFFFu);
    }

private:
    void Take(quint32 id, const quint8* data, int size, qint64 time_us, bool timed, bool transport);

    Bus_Check_Setup m_setup;
    std::vector<Row_Result> m_rows;
    std::unordered_map<quint32, std::vector<int>> m_by_key;
    std::vector<Unmatched_Frame> m_unmatched;
    std::unordered_map<quint32, size_t> m_unmatched_at;
    Address_Trouble m_trouble;
    Tp_Reassembler m_tp;
    Tp_Message m_message;
    qint64 m_frames = 0;
    qint64 m_standard = 0;
};
