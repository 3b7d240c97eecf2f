#pragma once

#include <QList>
#include <QString>

#include <array>

// The communication settings of a configuration, as typed; one text per element of ParGen.xml.
struct ParGen_Settings {
    QString Device_Type;
    QString Can_Baud;
    QString CAN_Type = QStringLiteral("1");
    QString How_Send;
    QString Delay_Send;
    QString TimeOut_Data;
    QString PeerToPeer;
    QString J1939_Device_ID;
    QString Net_Dev_Id;
    QString Net_Baud;
    QString Ethernet_IP1, Ethernet_IP2, Ethernet_IP3, Ethernet_IP4;
    QString Ethernet_SM1, Ethernet_SM2, Ethernet_SM3, Ethernet_SM4;
    QString Ethernet_GAT1, Ethernet_GAT2, Ethernet_GAT3, Ethernet_GAT4;
    QString Ethernet_EN_GAT;

    static constexpr int Count = 23;
    // Element names in stored order, and the member for each.
    static const std::array<const char*, Count>& Names();
    QString& field(int i);
    const QString& field(int i) const;

    bool operator==(const ParGen_Settings&) const = default;
};

// What the settings editor shows for a missing element, and for a missing file.
ParGen_Settings ParGen_Defaults_Missing_Element();
ParGen_Settings ParGen_Defaults_Missing_File();

// A table row of ten texts named after the attributes; indexable by column 1..10 through field().
struct Receive_Frame_Row {
    QString DataPage, PGN, SA, TransportProtocol, StartByte, NumBytes, Delete, OnRequest,
        OnReq_Time, Mnemonic;

    static constexpr int Count = 10;
    static const std::array<const char*, Count>& Names();
    static const std::array<const char*, Count>& Defaults();
    QString& field(int i); // 0-based: DataPage .. Mnemonic
    const QString& field(int i) const;
    const QString& Key() const { return PGN; }
    bool operator==(const Receive_Frame_Row&) const = default;
};

struct Send_Frame_Row {
    QString Priority, DataPage, PGN, SA, NumByte, OnRequest, DataChange, OnTimer, OnTimer_Time,
        Mnemonic;

    static constexpr int Count = 10;
    static const std::array<const char*, Count>& Names();
    static const std::array<const char*, Count>& Defaults();
    QString& field(int i);
    const QString& field(int i) const;
    const QString& Key() const { return Priority; }
    bool operator==(const Send_Frame_Row&) const = default;
};

// File missing: `exists` false and the settings hold the missing-file defaults.
// Not well-formed: throws App_Error (see Load_Xml_File).
struct ParGen_Load {
    bool exists = false;
    ParGen_Settings values;
    // Per element: was it present in the file.
    std::array<bool, ParGen_Settings::Count> present{};
};
// Whether XML 1.0 can hold `text` as it is.
bool Is_Xml_Storable(const QString& text);

ParGen_Load Read_ParGen(const QString& path);
void Write_ParGen(const QString& path, const ParGen_Settings& s);
QByteArray ParGen_Xml(const ParGen_Settings& s);

// Rows in document order, missing attributes filled with the defaults; no file: empty list.
QList<Receive_Frame_Row> Read_Receive_Frames(const QString& path);
QList<Send_Frame_Row> Read_Send_Frames(const QString& path);

// Rows up to (not including) the first one whose key cell is blank after trimming.
QByteArray Receive_Frames_Xml(const QList<Receive_Frame_Row>& rows);
QByteArray Send_Frames_Xml(const QList<Send_Frame_Row>& rows);
void Write_Receive_Frames(const QString& path, const QList<Receive_Frame_Row>& rows);
void Write_Send_Frames(const QString& path, const QList<Send_Frame_Row>& rows);

// True when the configuration is for the device without Ethernet port: the file exists and its
// Device_Type is exactly "0" or missing. Throws App_Error for a file that is not well-formed.
bool Is_Device_Without_Ethernet(const QString& parGenPath);

inline const QString SW_Version_Comment = QStringLiteral("SW_VERSION = 2.000");
