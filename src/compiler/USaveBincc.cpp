#include "compiler/USaveBincc.h"

#include "app/UComon.h"
#include "configurations/SafeFile.h"
#include "configurations/TextToInt.h"
#include "configurations/XmlFile.h"
#include "language/ULanguage.h"

#include <QDir>
#include <QDomDocument>
#include <QFileInfo>

#include <algorithm>

namespace {

template <typename Record> constexpr int Stored_Size()
{
    Record r;
    int n = 0;
    const auto add = [&](const char*, auto& f) {
        n += Field_Size<std::remove_cvref_t<decltype(f)>>();
    };
    if constexpr (std::is_same_v<Record, Frame_Record>)
        Visit_Record(r, add);
    else
        Visit_Header(r, add);
    return n;
}
static_assert(Stored_Size<Frame_Record>() == Frame_Record::Size);
static_assert(Stored_Size<Image_Header_Fields>() == Image_Header_Fields::Size);

constexpr int Zero_Fill_Size = Config_Image_Data::Header_Block_Size - Image_Header_Fields::Size - 4;
constexpr int Bank2_High_Index = Config_Image_Data::Bank2_Capacity - 1;

const QString A_DataPage = QStringLiteral("DataPage");
const QString A_PGN = QStringLiteral("PGN");
const QString A_SA = QStringLiteral("SA");
const QString A_TransportProtocol = QStringLiteral("TransportProtocol");
const QString A_StartByte = QStringLiteral("StartByte");
const QString A_NumBytes = QStringLiteral("NumBytes");
const QString A_Delete = QStringLiteral("Delete");
const QString A_OnRequest = QStringLiteral("OnRequest");
const QString A_OnReq_Time = QStringLiteral("OnReq_Time");
const QString A_Priority = QStringLiteral("Priority");
const QString A_NumByte = QStringLiteral("NumByte");
const QString A_DataChange = QStringLiteral("DataChange");
const QString A_OnTimer = QStringLiteral("OnTimer");
const QString A_OnTimer_Time = QStringLiteral("OnTimer_Time");

// One configuration file, loaded at most once per compilation and read by both stages.
class Source_File final {
public:
    explicit Source_File(const QString& path) : m_path(path), m_exists(QFileInfo(path).isFile()) {}
    bool exists() const { return m_exists; }
    QString shown() const { return QDir::toNativeSeparators(m_path); }
    QDomNode root()
    {
        if (!m_loaded) {
            m_doc = Load_Xml_File(m_path);
            m_loaded = true;
        }
        // The first node, whatever its name, as every reader of these files does.
        return m_doc.firstChild();
    }

private:
    QString m_path;
    bool m_exists;
    bool m_loaded = false;
    QDomDocument m_doc;
};

struct Sources {
    Source_File parGen, receive, send;
};

QString Excerpt(const QString& text)
{
    return text.size() > 40 ? text.left(40) + QStringLiteral("...") : text;
}

bool Is_Y_Any_Case(const QString& t)
{
    return t.size() == 1 && (t.at(0) == u'Y' || t.at(0) == u'y');
}

// ---- bank 1 -------------------------------------------------------------------------------

void Put8(int offset, qint32 v)
{
    Config_Image.Bank1_Area[offset] = quint8(v);
}

void Put16(int offset, qint32 v)
{
    Config_Image.Bank1_Area[offset] = quint8(v);
    Config_Image.Bank1_Area[offset + 1] = quint8(quint32(v) >> 8);
}

QString Required_Attribute(const QDomNode& row, const QString& name, const Source_File& file,
                           int rowNo)
{
    const QDomAttr a = row.toElement().attributeNode(name);
    if (a.isNull())
        throw App_Error(QStringLiteral("Error in file %1: row %2 has no attribute \"%3\".")
                            .arg(file.shown(), QString::number(rowNo), name));
    return a.value();
}

// Bank 2 has a fixed number of entries per table; a longer table would lose rows unseen.
int Checked_Row_Count(const QDomNode& root, const Source_File& file)
{
    const int n = int(root.childNodes().count());
    if (n > Max_Frame_Rows)
        throw App_Error(
            QStringLiteral("Error in file %1: it holds %2 rows, more than the %3 "
                           "rows a table can hold.")
                .arg(file.shown(), QString::number(n), QString::number(Max_Frame_Rows)));
    return n;
}

// Fills the rows of one table; returns the row count as bank 1 stores it.
template <typename Put_Row> quint8 Fill_Rows(Source_File& file, Put_Row putRow)
{
    if (!file.exists())
        return 0;
    const QDomNode root = file.root();
    const auto count = quint8(Checked_Row_Count(root, file));
    QDomNode row = root.firstChild();
    for (int i = 0; i < count; ++i, row = row.nextSibling())
        putRow(i, [&](const QString& name) { return Required_Attribute(row, name, file, i + 1); });
    return count;
}

struct Bank1_Setting {
    const char* element;
    int offset;
    int width;
};
constexpr Bank1_Setting Bank1_Settings[] = {
    {"Can_Baud", 15000, 1},   {"CAN_Type", 15001, 1},     {"How_Send", 15002, 1},
    {"Delay_Send", 15003, 2}, {"TimeOut_Data", 15005, 2}, {"PeerToPeer", 15007, 1},
    {"Net_Dev_Id", 15008, 1}, {"Net_Baud", 15009, 1},
};
constexpr int Receive_Count_Offset = 15010;
constexpr int Transmit_Count_Offset = 15011;

void Fill_Bank1(Sources& s)
{
    const quint8 receiveCount = Fill_Rows(s.receive, [](int i, auto attr) {
        const int at = Config_Image_Data::Row_Size * i;
        Put8(at, Text_To_Int(attr(A_DataPage), 0));
        Put16(at + 1, Text_To_Int(attr(A_PGN), 0));
        Put8(at + 3, Text_To_Int(attr(A_SA), 0));
        Put8(at + 4, Is_Y_Any_Case(attr(A_Delete)) ? 1 : 0);
    });
    const quint8 transmitCount = Fill_Rows(s.send, [](int i, auto attr) {
        const int at = Config_Image_Data::Transmit_Rows_Offset + Config_Image_Data::Row_Size * i;
        Put8(at, Text_To_Int(attr(A_Priority), 0));
        Put8(at + 1, Text_To_Int(attr(A_DataPage), 0));
        Put16(at + 2, Text_To_Int(attr(A_PGN), 0));
        Put8(at + 4, Text_To_Int(attr(A_SA), 0));
    });

    // Without the settings file the settings bytes and the counts keep their earlier values.
    if (!s.parGen.exists())
        return;
    const QDomNode root = s.parGen.root();
    for (const Bank1_Setting& setting : Bank1_Settings) {
        const QString name = QString::fromLatin1(setting.element);
        bool found = false;
        const QString text = Child_Text(root, name, &found);
        if (!found)
            throw App_Error(QStringLiteral("Error in file %1: the element \"%2\" is missing.")
                                .arg(s.parGen.shown(), name));
        const std::optional<qint32> value = Parse_Int(text);
        if (!value)
            throw App_Error(
                QStringLiteral("Error in file %1: the element \"%2\" holds \"%3\", which is not "
                               "a number.")
                    .arg(s.parGen.shown(), name, Excerpt(text)));
        if (setting.width == 1)
            Put8(setting.offset, *value);
        else
            Put16(setting.offset, *value);
    }
    Put8(Receive_Count_Offset, receiveCount);
    Put8(Transmit_Count_Offset, transmitCount);
}

// ---- bank 2 model -------------------------------------------------------------------------

// Every read below stands alone: an absent element or attribute, or a text that is not a
// number, gives the fallback and the compilation goes on.
qint32 Element_Int(const QDomNode& root, const QString& name, qint32 fallback)
{
    bool found = false;
    const QString text = Child_Text(root, name, &found);
    return found ? Text_To_Int(text, fallback) : fallback;
}

bool Element_Is_1(const QDomNode& root, const QString& name)
{
    bool found = false;
    const QString text = Child_Text(root, name, &found);
    return found && text == QLatin1String("1");
}

qint32 Attr_Int(QDomElement& row, const QString& name, qint32 fallback)
{
    const QDomAttr a = row.attributeNode(name);
    return a.isNull() ? fallback : Text_To_Int(a.value(), fallback);
}

bool Attr_Is_Y(QDomElement& row, const QString& name)
{
    const QDomAttr a = row.attributeNode(name);
    return !a.isNull() && a.value() == QLatin1String("Y");
}

bool Attr_Is_Y_Any_Case(QDomElement& row, const QString& name)
{
    const QDomAttr a = row.attributeNode(name);
    return !a.isNull() && Is_Y_Any_Case(a.value());
}

void Set_Defaults()
{
    Config_Image.Image_Header = Header_Defaults();
}

void Clear_Frames()
{
    Config_Image.Receive_Records.fill(Frame_Record::Empty());
    Config_Image.Transmit_Records.fill(Frame_Record::Empty());
}

quint32 J1939_Bit_Rate(qint32 index)
{
    static constexpr quint32 Rates[] = {10000,  20000,  50000,  100000, 125000,
                                        250000, 500000, 800000, 1000000};
    return index >= 0 && index < qint32(std::size(Rates)) ? Rates[index] : 250000;
}

quint32 DeviceNet_Bit_Rate(qint32 index)
{
    return index == 0 ? 125000 : index == 1 ? 250000 : 500000;
}

void Read_ParGen(Source_File& file)
{
    Image_Header_Fields& h = Config_Image.Image_Header;
    h.Image_Load_Address = Image_Load_Address_Value;
    h.Second_Address = Second_Address_Value;
    if (!file.exists())
        return; // Data_Timeout_ms keeps the value of the previous compilation
    const QDomNode root = file.root();

    static const QString IP[] = {QStringLiteral("Ethernet_IP1"), QStringLiteral("Ethernet_IP2"),
                                 QStringLiteral("Ethernet_IP3"), QStringLiteral("Ethernet_IP4")};
    static const QString SM[] = {QStringLiteral("Ethernet_SM1"), QStringLiteral("Ethernet_SM2"),
                                 QStringLiteral("Ethernet_SM3"), QStringLiteral("Ethernet_SM4")};
    static const QString GAT[] = {QStringLiteral("Ethernet_GAT1"), QStringLiteral("Ethernet_GAT2"),
                                  QStringLiteral("Ethernet_GAT3"), QStringLiteral("Ethernet_GAT4")};
    constexpr qint32 IP_Default[] = {192, 168, 0, 5};
    constexpr qint32 SM_Default[] = {255, 255, 255, 0};
    constexpr qint32 GAT_Default[] = {192, 168, 0, 1};
    for (int k = 0; k < 4; ++k)
        h.IP_Address[k] = quint8(Element_Int(root, IP[k], IP_Default[k]));
    for (int k = 0; k < 4; ++k)
        h.Subnet_Mask[k] = quint8(Element_Int(root, SM[k], SM_Default[k]));
    for (int k = 0; k < 4; ++k)
        h.Gateway[k] = quint8(Element_Int(root, GAT[k], GAT_Default[k]));
    if (!Element_Is_1(root, QStringLiteral("Ethernet_EN_GAT")))
        h.Gateway = {255, 255, 255, 255};

    h.J1939_Bit_Rate = J1939_Bit_Rate(Element_Int(root, QStringLiteral("Can_Baud"), 5));
    Config_Image.Data_Timeout_ms =
        quint32(Element_Int(root, QStringLiteral("TimeOut_Data"), 0)) * 1000u;
    h.Option_Flags = 0;
    if (Element_Is_1(root, QStringLiteral("PeerToPeer")))
        h.Option_Flags |= Option_Peer_To_Peer;
    h.J1939_Device_Address = quint32(Element_Int(root, QStringLiteral("J1939_Device_ID"), 0));
    h.DeviceNet_Node_Address = quint32(Element_Int(root, QStringLiteral("Net_Dev_Id"), 10));
    h.DeviceNet_Bit_Rate = DeviceNet_Bit_Rate(Element_Int(root, QStringLiteral("Net_Baud"), 2));
}

// Calls fill(row, entry) for each row of the file, in order; returns the number of entries.
template <typename Fill>
quint32 Read_Table(Source_File& file,
                   std::array<Frame_Record, Config_Image_Data::Frame_Count>& entries, Fill fill)
{
    if (!file.exists())
        return 0;
    const QDomNode root = file.root();
    quint32 index = 0;
    // The row limit was enforced by Fill_Bank1; the bound only keeps the writes in the table.
    for (QDomNode n = root.firstChild(); !n.isNull() && index < entries.size();
         n = n.nextSibling()) {
        QDomElement row = n.toElement();
        fill(row, entries[index++]);
    }
    return index;
}

void Read_Frames(Sources& s)
{
    Image_Header_Fields& h = Config_Image.Image_Header;
    const bool peerToPeer = h.Option_Flags & Option_Peer_To_Peer;

    // All sums are unsigned 32-bit and wrap around.
    quint32 offset = 0;
    h.Receive_Row_Count =
        Read_Table(s.receive, Config_Image.Receive_Records, [&](QDomElement& row, Frame_Record& e) {
            quint32 id = quint32(Attr_Int(row, A_DataPage, 0));
            id = id * 65536u + quint32(Attr_Int(row, A_PGN, 0));
            id *= 256u;
            // Peer-to-peer frames are accepted from any source.
            if (!peerToPeer)
                id += quint32(Attr_Int(row, A_SA, 0));
            e.Identifier = id;
            e.Timer_Period = 0;
            e.Data_Timeout = Attr_Is_Y(row, A_Delete) ? Config_Image.Data_Timeout_ms : 0;
            e.Transport = Attr_Is_Y(row, A_TransportProtocol) ? 1 : 0;
            e.Data_Offset = quint16(offset);
            e.Start_Byte = quint16(Attr_Int(row, A_StartByte, 0));
            e.Byte_Count = quint16(Attr_Int(row, A_NumBytes, 8));
            if (Attr_Is_Y_Any_Case(row, A_OnRequest))
                e.Flags |= Flag_Receive_On_Request;
            e.Request_Time = quint32(Attr_Int(row, A_OnReq_Time, 0));
            offset += e.Byte_Count; // the stored 16-bit count
        });
    h.Receive_Data_Size = offset;

    offset = 0;
    h.Transmit_Row_Count =
        Read_Table(s.send, Config_Image.Transmit_Records, [&](QDomElement& row, Frame_Record& e) {
            quint32 id = quint32(Attr_Int(row, A_Priority, 0));
            id = id * 4u + quint32(Attr_Int(row, A_DataPage, 0));
            id = id * 65536u + quint32(Attr_Int(row, A_PGN, 0));
            id = id * 256u + quint32(Attr_Int(row, A_SA, 0));
            e.Identifier = id;
            e.Timer_Period = 0;
            e.Flags = Flag_Transmit;
            if (Attr_Is_Y_Any_Case(row, A_OnRequest))
                e.Flags |= Flag_On_Request;
            if (Attr_Is_Y_Any_Case(row, A_DataChange))
                e.Flags |= Flag_On_Data_Change;
            if (Attr_Is_Y_Any_Case(row, A_OnTimer)) {
                e.Flags |= Flag_On_Timer;
                e.Timer_Period = quint32(Attr_Int(row, A_OnTimer_Time, 0));
            }
            const qint32 count = Attr_Int(row, A_NumByte, 8);
            e.Transport = count > 8 ? 1 : 0;
            e.Data_Offset = quint16(offset);
            e.Start_Byte = 0;
            e.Byte_Count = quint16(count);
            offset += quint32(count); // the full value, unlike the receive table
        });
    h.Transmit_Data_Size = offset;
}

void Build_Bank2(Sources& s)
{
    Set_Defaults();
    Clear_Frames();
    Read_ParGen(s.parGen);
    Read_Frames(s);
    quint8* buffer = Config_Image.Bank2_Buffer.data();
    Config_Image.Bank2_Length = 0;
    Config_Image.Bank2_Length = Put_Frames(Config_Image.Bank2_Length, buffer, Bank2_High_Index);
    Config_Image.Bank2_Length = Put_Header(Config_Image.Bank2_Length, buffer, Bank2_High_Index);
}

// ---- serialisation ------------------------------------------------------------------------

template <typename T> void Write_Field(quint8*& p, const T& v)
{
    if constexpr (std::is_integral_v<T>) {
        for (std::size_t k = 0; k < sizeof(T); ++k)
            *p++ = quint8(quint64(v) >> (8 * k));
    } else {
        for (const auto& e : v)
            Write_Field(p, e);
    }
}

} // namespace

qint32 Put_Frames(qint32 start, quint8* buffer, qint32 highIndex)
{
    Q_ASSERT(start >= 0 && start + Config_Image_Data::Frames_Size - 1 <= highIndex);
    Q_UNUSED(highIndex);
    quint8* p = buffer + start;
    const auto put = [&](const char*, const auto& field) { Write_Field(p, field); };
    for (const Frame_Record& r : Config_Image.Receive_Records)
        Visit_Record(r, put);
    for (const Frame_Record& r : Config_Image.Transmit_Records)
        Visit_Record(r, put);
    return start + Config_Image_Data::Frames_Size;
}

qint32 Put_Header(qint32 start, quint8* buffer, qint32 highIndex)
{
    Q_ASSERT(start >= 0 && start + Config_Image_Data::Header_Block_Size - 1 <= highIndex);
    Q_UNUSED(highIndex);
    quint8* p = buffer + start;
    quint32 sum = 0;
    Visit_Header(Config_Image.Image_Header, [&](const char*, const auto& field) {
        const quint8* from = p;
        Write_Field(p, field);
        for (; from < p; ++from)
            sum += *from;
    });
    std::fill_n(p, Zero_Fill_Size, quint8(0));
    p += Zero_Fill_Size;
    Write_Field(p, sum);
    return start + Config_Image_Data::Header_Block_Size;
}

void Compile_Bin()
{
    Sources s{Source_File(Shared.File_ParGen), Source_File(Shared.File_Receive_Frame),
              Source_File(Shared.File_Send_Frame)};
    Fill_Bank1(s);
    Build_Bank2(s);
}

void Save_Bin()
{
    if (Shared.Conf_Dir.isEmpty())
        throw App_Error(Msg(18));
    // A configuration deleted behind the program's back is not silently made again with
    // default images.
    if (!QFileInfo(Shared.Conf_Dir).isDir())
        throw App_Error(Msg(111) + QDir::toNativeSeparators(Shared.Conf_Dir));
    Save_Bin(Path_Join(Shared.Conf_Dir, QStringLiteral("bin")));
}

void Save_Bin(const QString& binDir)
{
    if (!QDir().mkpath(binDir))
        throw App_Error(
            QStringLiteral("Cannot create the folder %1.").arg(QDir::toNativeSeparators(binDir)));
    // The two images describe one configuration: a new bank1.bin beside an old bank2.bin
    // would load as neither.
    Write_Files_Atomic(
        {{Path_Join(binDir, QStringLiteral("bank1.bin")),
          QByteArray::fromRawData(reinterpret_cast<const char*>(Config_Image.Bank1_Area.data()),
                                  Config_Image_Data::Bank1_Size)},
         {Path_Join(binDir, QStringLiteral("bank2.bin")),
          QByteArray::fromRawData(reinterpret_cast<const char*>(Config_Image.Bank2_Buffer.data()),
                                  Config_Image.Bank2_Length)}});
}

void Recover_Bank_Files(const QString& binDir)
{
    if (QFileInfo(binDir).isDir())
        Recover_File_Group(binDir);
}
