// The three files of a configuration, cut from one input at NUL bytes: ParGen.xml,
// Receive_Frame.xml, Send_Frame.xml. Read as the editors and the check command read them;
// a table that can be stored reads back as it was.
#include "FuzzSupport.h"

#include "app/UComon.h"
#include "configurations/ConfigFiles.h"
#include "editors/FrameTables.h"
#include "editors/ParGenChecks.h"

namespace {

template <typename Row> QList<Row> Saved_Part(const QList<Row>& rows)
{
    QList<Row> kept;
    for (const Row& r : rows) {
        if (r.Key().trimmed().isEmpty())
            break;
        kept << r;
    }
    return kept;
}

template <typename Row>
void Round_Trip(const QList<Row>& rows, QByteArray (*toXml)(const QList<Row>&),
                QList<Row> (*read)(const QString&))
{
    QByteArray xml;
    try {
        xml = toXml(rows);
    } catch (const App_Error&) {
        return; // a text XML cannot hold is refused, never stored changed
    }
    const QList<Row> back = read(Fuzz_File(QStringLiteral("Back.xml"), xml));
    FUZZ_CHECK(back == Saved_Part(rows));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QList<QByteArray> parts = Fuzz_Parts(Fuzz_Bytes(data, size), 3);
    const QString parGen = Fuzz_File(QStringLiteral("ParGen.xml"), parts[0]);
    const QString receive = Fuzz_File(QStringLiteral("Receive_Frame.xml"), parts[1]);
    const QString send = Fuzz_File(QStringLiteral("Send_Frame.xml"), parts[2]);

    try {
        const ParGen_Load p = Read_ParGen(parGen);
        (void)ParGen_First_Failure(ParGen_As_Shown(p.values));
        (void)ParGen_Xml(p.values);
    } catch (const App_Error&) {
    }
    try {
        (void)Check_ParGen_File(parGen);
    } catch (const App_Error&) {
    }
    for (const Frame_Table_Kind* kind : {&Receive_Table, &Send_Table}) {
        try {
            (void)Check_Frame_File(*kind, parGen, kind == &Receive_Table ? receive : send);
            (void)Load_Frame_Table(*kind, parGen, kind == &Receive_Table ? receive : send);
        } catch (const App_Error&) {
        }
    }
    try {
        Round_Trip(Read_Receive_Frames(receive), Receive_Frames_Xml, Read_Receive_Frames);
    } catch (const App_Error&) {
    }
    try {
        Round_Trip(Read_Send_Frames(send), Send_Frames_Xml, Read_Send_Frames);
    } catch (const App_Error&) {
    }
    return 0;
}
