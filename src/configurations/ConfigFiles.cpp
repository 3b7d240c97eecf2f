#include "configurations/ConfigFiles.h"

#include "app/UComon.h"
#include "configurations/XmlFile.h"

#include <QDir>
#include <QDomDocument>
#include <QFileInfo>
#include <QXmlStreamWriter>

namespace {

using PG = ParGen_Settings;
constexpr QString PG::*ParGen_Members[PG::Count] = {
    &PG::Device_Type,   &PG::Can_Baud,      &PG::CAN_Type,        &PG::How_Send,
    &PG::Delay_Send,    &PG::TimeOut_Data,  &PG::PeerToPeer,      &PG::J1939_Device_ID,
    &PG::Net_Dev_Id,    &PG::Net_Baud,      &PG::Ethernet_IP1,    &PG::Ethernet_IP2,
    &PG::Ethernet_IP3,  &PG::Ethernet_IP4,  &PG::Ethernet_SM1,    &PG::Ethernet_SM2,
    &PG::Ethernet_SM3,  &PG::Ethernet_SM4,  &PG::Ethernet_GAT1,   &PG::Ethernet_GAT2,
    &PG::Ethernet_GAT3, &PG::Ethernet_GAT4, &PG::Ethernet_EN_GAT};

using RR = Receive_Frame_Row;
constexpr QString RR::*Receive_Members[RR::Count] = {
    &RR::DataPage, &RR::PGN,    &RR::SA,        &RR::TransportProtocol, &RR::StartByte,
    &RR::NumBytes, &RR::Delete, &RR::OnRequest, &RR::OnReq_Time,        &RR::Mnemonic};

using SR = Send_Frame_Row;
constexpr QString SR::*Send_Members[SR::Count] = {
    &SR::Priority,  &SR::DataPage,   &SR::PGN,     &SR::SA,           &SR::NumByte,
    &SR::OnRequest, &SR::DataChange, &SR::OnTimer, &SR::OnTimer_Time, &SR::Mnemonic};

// Writes the stored form: root, rows or elements, then the version comment; no declaration.
template <typename Body>
QByteArray Stored_Form(const QString& root, Body body)
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.setAutoFormatting(false);
    w.writeStartElement(root);
    body(w);
    w.writeEndElement();
    w.writeComment(SW_Version_Comment);
    return out;
}

template <typename Row>
QList<Row> Read_Rows(const QString& path)
{
    QList<Row> rows;
    if (!QFileInfo(path).isFile())
        return rows;
    const QDomDocument doc = Load_Xml_File(path);
    const QDomNode root = doc.firstChild();
    const auto& names = Row::Names();
    const auto& defaults = Row::Defaults();
    for (QDomNode n = root.firstChild(); !n.isNull(); n = n.nextSibling()) {
        Row row;
        const QDomElement e = n.toElement();
        for (int c = 0; c < Row::Count; ++c) {
            const QString name = QString::fromLatin1(names[c]);
            if (!e.isNull() && e.hasAttribute(name))
                row.field(c) = e.attribute(name);
            else
                row.field(c) = QString::fromLatin1(defaults[c]);
        }
        rows.append(row);
    }
    return rows;
}

void Require_Storable(const QString& text, const QString& where)
{
    if (!Is_Xml_Storable(text))
        throw App_Error(
            QStringLiteral("%1 holds a character that cannot be stored in the file.").arg(where));
}

template <typename Row>
QByteArray Rows_Xml(const QList<Row>& rows)
{
    return Stored_Form(QStringLiteral("Receive_Frames"), [&](QXmlStreamWriter& w) {
        const auto& names = Row::Names();
        int rowNo = 0;
        for (const Row& r : rows) {
            ++rowNo;
            if (r.Key().trimmed().isEmpty())
                break;
            w.writeEmptyElement(QStringLiteral("row"));
            for (int c = 0; c < Row::Count; ++c) {
                const QString name = QString::fromLatin1(names[c]);
                Require_Storable(r.field(c), QStringLiteral("Row %1, %2,").arg(rowNo).arg(name));
                w.writeAttribute(name, r.field(c));
            }
        }
    });
}

// The file's name leads every error of a save.
template <typename Make>
void Write_Config_File(const QString& path, Make make)
{
    QByteArray bytes;
    try {
        bytes = make();
    } catch (const App_Error& e) {
        throw App_Error(QStringLiteral("Cannot write the file %1: %2")
                            .arg(QDir::toNativeSeparators(path), e.text()));
    }
    Write_File_Atomic(path, bytes);
}

} // namespace

// XML 1.0 cannot hold most control characters, U+FFFE, U+FFFF or a lone surrogate; the writer
// would drop them silently and the saved file would differ from what the user typed.
bool Is_Xml_Storable(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r')
            return false;
        if (c == 0xFFFE || c == 0xFFFF)
            return false;
        if (QChar::isHighSurrogate(c)) {
            if (i + 1 >= text.size() || !QChar::isLowSurrogate(text.at(i + 1).unicode()))
                return false;
            ++i;
        } else if (QChar::isLowSurrogate(c)) {
            return false;
        }
    }
    return true;
}

const std::array<const char*, ParGen_Settings::Count>& ParGen_Settings::Names()
{
    static const std::array<const char*, Count> n = {
        "Device_Type",   "Can_Baud",      "CAN_Type",      "How_Send",        "Delay_Send",
        "TimeOut_Data",  "PeerToPeer",    "J1939_Device_ID", "Net_Dev_Id",    "Net_Baud",
        "Ethernet_IP1",  "Ethernet_IP2",  "Ethernet_IP3",  "Ethernet_IP4",    "Ethernet_SM1",
        "Ethernet_SM2",  "Ethernet_SM3",  "Ethernet_SM4",  "Ethernet_GAT1",   "Ethernet_GAT2",
        "Ethernet_GAT3", "Ethernet_GAT4", "Ethernet_EN_GAT"};
    return n;
}
QString& ParGen_Settings::field(int i) { return this->*ParGen_Members[i]; }
const QString& ParGen_Settings::field(int i) const { return this->*ParGen_Members[i]; }

ParGen_Settings ParGen_Defaults_Missing_Element()
{
    ParGen_Settings s;
    s.Device_Type = "0";
    s.Can_Baud = "5";
    s.CAN_Type = "1";
    s.How_Send = "0";
    s.Delay_Send = "100";
    s.TimeOut_Data = "5";
    s.PeerToPeer = "0";
    s.J1939_Device_ID = "0";
    s.Net_Dev_Id = "10";
    s.Net_Baud = "2";
    s.Ethernet_IP1 = "192";
    s.Ethernet_IP2 = "168";
    s.Ethernet_IP3 = "0";
    s.Ethernet_IP4 = "5";
    s.Ethernet_SM1 = "255";
    s.Ethernet_SM2 = "255";
    s.Ethernet_SM3 = "255";
    s.Ethernet_SM4 = "0";
    s.Ethernet_GAT1 = "192";
    s.Ethernet_GAT2 = "168";
    s.Ethernet_GAT3 = "0";
    s.Ethernet_GAT4 = "1";
    s.Ethernet_EN_GAT = "0";
    return s;
}

ParGen_Settings ParGen_Defaults_Missing_File()
{
    ParGen_Settings s = ParGen_Defaults_Missing_Element();
    s.Device_Type = "1";
    return s;
}

const std::array<const char*, Receive_Frame_Row::Count>& Receive_Frame_Row::Names()
{
    static const std::array<const char*, Count> n = {
        "DataPage", "PGN",      "SA",        "TransportProtocol", "StartByte",
        "NumBytes", "Delete",   "OnRequest", "OnReq_Time",        "Mnemonic"};
    return n;
}
const std::array<const char*, Receive_Frame_Row::Count>& Receive_Frame_Row::Defaults()
{
    static const std::array<const char*, Count> d = {"", "", "", "N", "", "", "N", "N", "1000", ""};
    return d;
}
QString& Receive_Frame_Row::field(int i) { return this->*Receive_Members[i]; }
const QString& Receive_Frame_Row::field(int i) const { return this->*Receive_Members[i]; }

const std::array<const char*, Send_Frame_Row::Count>& Send_Frame_Row::Names()
{
    static const std::array<const char*, Count> n = {
        "Priority",  "DataPage",   "PGN",     "SA",           "NumByte",
        "OnRequest", "DataChange", "OnTimer", "OnTimer_Time", "Mnemonic"};
    return n;
}
const std::array<const char*, Send_Frame_Row::Count>& Send_Frame_Row::Defaults()
{
    static const std::array<const char*, Count> d = {"", "", "", "", "8", "N", "N", "N", "1000", ""};
    return d;
}
QString& Send_Frame_Row::field(int i) { return this->*Send_Members[i]; }
const QString& Send_Frame_Row::field(int i) const { return this->*Send_Members[i]; }

ParGen_Load Read_ParGen(const QString& path)
{
    ParGen_Load r;
    if (!QFileInfo(path).isFile()) {
        r.values = ParGen_Defaults_Missing_File();
        return r;
    }
    r.exists = true;
    const QDomDocument doc = Load_Xml_File(path);
    const QDomNode root = doc.firstChild();
    const ParGen_Settings defaults = ParGen_Defaults_Missing_Element();
    for (int i = 0; i < ParGen_Settings::Count; ++i) {
        bool found = false;
        const QString text = Child_Text(root, QString::fromLatin1(ParGen_Settings::Names()[i]), &found);
        r.present[i] = found;
        r.values.field(i) = found ? text : defaults.field(i);
    }
    return r;
}

QByteArray ParGen_Xml(const ParGen_Settings& s)
{
    return Stored_Form(QStringLiteral("Par_Gen"), [&](QXmlStreamWriter& w) {
        for (int i = 0; i < ParGen_Settings::Count; ++i) {
            const QString name = QString::fromLatin1(ParGen_Settings::Names()[i]);
            Require_Storable(s.field(i), name);
            w.writeTextElement(name, s.field(i));
        }
    });
}

void Write_ParGen(const QString& path, const ParGen_Settings& s)
{
    Write_Config_File(path, [&] { return ParGen_Xml(s); });
}

QList<Receive_Frame_Row> Read_Receive_Frames(const QString& path)
{
    return Read_Rows<Receive_Frame_Row>(path);
}

QList<Send_Frame_Row> Read_Send_Frames(const QString& path)
{
    return Read_Rows<Send_Frame_Row>(path);
}

QByteArray Receive_Frames_Xml(const QList<Receive_Frame_Row>& rows) { return Rows_Xml(rows); }
QByteArray Send_Frames_Xml(const QList<Send_Frame_Row>& rows) { return Rows_Xml(rows); }

void Write_Receive_Frames(const QString& path, const QList<Receive_Frame_Row>& rows)
{
    Write_Config_File(path, [&] { return Receive_Frames_Xml(rows); });
}

void Write_Send_Frames(const QString& path, const QList<Send_Frame_Row>& rows)
{
    Write_Config_File(path, [&] { return Send_Frames_Xml(rows); });
}

bool Is_Device_Without_Ethernet(const QString& parGenPath)
{
    if (!QFileInfo(parGenPath).isFile())
        return false;
    const QDomDocument doc = Load_Xml_File(parGenPath);
    bool found = false;
    const QString text = Child_Text(doc.firstChild(), QStringLiteral("Device_Type"), &found);
    return !found || text == QLatin1String("0");
}
