#include "compiler/ByteMap.h"

#include "app/UComon.h"
#include "compiler/ConfigImage.h"
#include "compiler/USaveBincc.h"
#include "configurations/TextToInt.h"
#include "editors/FrameChecks.h"

bool Byte_Map_Table::Over_Budget() const
{
    return Data_Size > quint32(Frame_Byte_Budget);
}

namespace {

template <typename Row, typename Fill>
Byte_Map_Table Map_Table(const QList<Row>& rows,
                         const std::array<Frame_Record, Config_Image_Data::Frame_Count>& records,
                         quint32 rowCount, quint32 dataSize, Fill fill)
{
    Byte_Map_Table t;
    t.Data_Size = dataSize;
    // The compiler and the file reader walk the same nodes; the count is the compiler's.
    const qsizetype n = std::min<qsizetype>(qsizetype(rowCount), rows.size());
    for (qsizetype i = 0; i < n; ++i) {
        Byte_Map_Row m;
        m.row = int(i + 1);
        m.Data_Offset = records[i].Data_Offset;
        m.Byte_Count = records[i].Byte_Count;
        fill(rows[i], m);
        t.rows << m;
    }
    return t;
}

} // namespace

Byte_Map Byte_Map_Of_Image(const QList<Receive_Frame_Row>& receive,
                           const QList<Send_Frame_Row>& transmit)
{
    const Image_Header_Fields& h = Config_Image.Image_Header;
    Byte_Map map;
    map.receive = Map_Table(receive, Config_Image.Receive_Records, h.Receive_Row_Count,
                            h.Receive_Data_Size, [](const Receive_Frame_Row& r, Byte_Map_Row& m) {
                                m.Data_Page = Text_To_Int(r.DataPage, 0);
                                m.PGN = Text_To_Int(r.PGN, 0);
                                m.SA = Text_To_Int(r.SA, 0);
                                m.Start_Byte = Text_To_Int(r.StartByte, 0);
                                m.Mnemonic = r.Mnemonic;
                            });
    map.transmit = Map_Table(transmit, Config_Image.Transmit_Records, h.Transmit_Row_Count,
                             h.Transmit_Data_Size, [](const Send_Frame_Row& r, Byte_Map_Row& m) {
                                 m.Data_Page = Text_To_Int(r.DataPage, 0);
                                 m.PGN = Text_To_Int(r.PGN, 0);
                                 m.SA = Text_To_Int(r.SA, 0);
                                 m.Mnemonic = r.Mnemonic;
                             });
    return map;
}

Byte_Map Compile_Byte_Map()
{
    Compile_Bin();
    return Byte_Map_Of_Image(Read_Receive_Frames(Shared.File_Receive_Frame),
                             Read_Send_Frames(Shared.File_Send_Frame));
}

QString Pgn_Text(qint32 pgn)
{
    return QStringLiteral("0x") +
           QStringLiteral("%1").arg(quint32(pgn), 4, 16, QLatin1Char('0')).toUpper();
}

namespace {

QString Csv_Cell(const QString& cell)
{
    if (!cell.contains(QLatin1Char(',')) && !cell.contains(QLatin1Char('"')) &&
        !cell.contains(QLatin1Char('\n')) && !cell.contains(QLatin1Char('\r')))
        return cell;
    QString out = cell;
    out.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

} // namespace

QByteArray Byte_Map_Csv(const Byte_Map& map)
{
    QString text = QStringLiteral("table,row,offset,bytes,data_page,pgn,sa,start_byte,mnemonic\r\n");
    const auto put = [&](const char* table, const Byte_Map_Table& t) {
        for (const Byte_Map_Row& r : t.rows) {
            const QStringList cells = {
                QString::fromLatin1(table),
                QString::number(r.row),
                QString::number(r.Data_Offset),
                QString::number(r.Byte_Count),
                QString::number(r.Data_Page),
                Pgn_Text(r.PGN),
                QString::number(r.SA),
                r.Start_Byte ? QString::number(*r.Start_Byte) : QString(),
                Csv_Cell(r.Mnemonic),
            };
            text += cells.join(QLatin1Char(',')) + QStringLiteral("\r\n");
        }
    };
    put("receive", map.receive);
    put("transmit", map.transmit);
    return text.toUtf8();
}
