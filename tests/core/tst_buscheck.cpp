#include "support/TestSupport.h"

#include "app/UComon.h"
#include "buscheck/BusCheck.h"
#include "configurations/ConfigFiles.h"
#include "language/ULanguage.h"

#include <QTest>

namespace {

struct Rx {
    QString dp, pgn, sa, tp = QStringLiteral("N"), start = QStringLiteral("0"), num = {};
};

// A configuration folder with the given receive rows, compiled by the configurator's compiler.
QString Write_Config(const Program_Folder& folder, const QList<Rx>& rows, bool peer,
                     const QString& deviceId = QStringLiteral("128"))
{
    ParGen_Settings s = ParGen_Defaults_Missing_File();
    s.PeerToPeer = peer ? QStringLiteral("1") : QStringLiteral("0");
    s.J1939_Device_ID = deviceId;
    folder.write(QStringLiteral("PROJECTS/C/ParGen.xml"), ParGen_Xml(s));
    QList<Receive_Frame_Row> table;
    for (const Rx& r : rows) {
        Receive_Frame_Row row;
        row.DataPage = r.dp;
        row.PGN = r.pgn;
        row.SA = r.sa;
        row.TransportProtocol = r.tp;
        row.StartByte = r.start;
        row.NumBytes = r.num;
        row.Delete = row.OnRequest = QStringLiteral("N");
        row.OnReq_Time = QStringLiteral("1000");
        table << row;
    }
    folder.write(QStringLiteral("PROJECTS/C/Receive_Frame.xml"), Receive_Frames_Xml(table));
    return folder.file(QStringLiteral("PROJECTS/C"));
}

Can_Frame Frame(quint32 id, QByteArray data, qint64 time_us = 0)
{
    Can_Frame f;
    f.id = id;
    f.extended = true;
    f.timed = true;
    f.time_us = time_us;
    f.size = quint8(data.size());
    std::copy(data.begin(), data.end(), f.data.begin());
    return f;
}

QList<Can_Frame> Read_Log(const QByteArray& text)
{
    QList<Can_Frame> frames;
    For_Each_Log_Frame(text, [&](const Can_Frame& f) { frames << f; });
    return frames;
}

// The packets of one transport transfer: the announcement, then the data packets.
QList<Can_Frame> Transfer(quint8 control, quint8 from, quint8 to, quint32 pgn,
                          const QByteArray& payload)
{
    const int packets = int((payload.size() + 6) / 7);
    QByteArray cm(8, '\0');
    cm[0] = char(control);
    cm[1] = char(payload.size() & 0xFF);
    cm[2] = char(payload.size() >> 8);
    cm[3] = char(packets);
    cm[4] = char(control == 32 ? 0xFF : packets);
    cm[5] = char(pgn & 0xFF);
    cm[6] = char((pgn >> 8) & 0xFF);
    cm[7] = char(pgn >> 16);
    QList<Can_Frame> out{Frame(0x1CEC0000u | quint32(to) << 8 | from, cm)};
    for (int seq = 1; seq <= packets; ++seq) {
        QByteArray dt(8, char(0xFF));
        dt[0] = char(seq);
        const QByteArray part = payload.mid((seq - 1) * 7, 7);
        dt.replace(1, part.size(), part);
        out << Frame(0x1CEB0000u | quint32(to) << 8 | from, dt);
    }
    return out;
}

QByteArray Payload(int size, int seed)
{
    QByteArray p(size, '\0');
    for (int i = 0; i < size; ++i)
        p[i] = char(seed + i);
    return p;
}

} // namespace

class tst_buscheck final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void matching_data()
    {
        QTest::addColumn<QString>("dp");
        QTest::addColumn<QString>("pgn");
        QTest::addColumn<QString>("sa");
        QTest::addColumn<bool>("peer");
        QTest::addColumn<quint32>("id");
        QTest::addColumn<bool>("taken");

        const QString fef1 = QStringLiteral("0xFEF1");
        QTest::newRow("PDU2") << "0" << fef1 << "0" << false << 0x18FEF100u << true;
        QTest::newRow("PDU2 other sender") << "0" << fef1 << "0" << false << 0x18FEF103u << false;
        QTest::newRow("PDU2 other sender, peer-to-peer")
            << "0" << fef1 << "0" << true << 0x18FEF103u << true;
        QTest::newRow("priority differing") << "0" << fef1 << "0" << false << 0x0CFEF100u << true;
        QTest::newRow("priority 7") << "0" << fef1 << "0" << false << 0x1CFEF100u << true;
        QTest::newRow("PDU1 own destination") << "0"
                                              << "0xEF80"
                                              << "33" << false << 0x18EF8021u << true;
        QTest::newRow("PDU1 foreign destination") << "0"
                                                  << "0xEF80"
                                                  << "33" << false << 0x18EF8121u << false;
        QTest::newRow("PDU1 foreign destination, peer-to-peer")
            << "0"
            << "0xEF80"
            << "33" << true << 0x18EF8121u << false;
        QTest::newRow("PDU1 global destination") << "0"
                                                 << "0xEF80"
                                                 << "33" << false << 0x18EFFF21u << false;
        QTest::newRow("data page 1") << "1" << fef1 << "0" << false << 0x19FEF100u << true;
        QTest::newRow("data page 1 row, page 0 frame")
            << "1" << fef1 << "0" << false << 0x18FEF100u << false;
        QTest::newRow("data page 0 row, page 1 frame")
            << "0" << fef1 << "0" << false << 0x19FEF100u << false;
        QTest::newRow("extended data page") << "0" << fef1 << "0" << false << 0x1AFEF100u << false;
    }
    void matching()
    {
        QFETCH(QString, dp);
        QFETCH(QString, pgn);
        QFETCH(QString, sa);
        QFETCH(bool, peer);
        QFETCH(quint32, id);
        QFETCH(bool, taken);
        Program_Folder folder;
        Bus_Check check(Load_Bus_Check_Setup(Write_Config(folder, {{dp, pgn, sa}}, peer)));
        check.Feed(Frame(id, QByteArray(8, '\x11')));
        QCOMPARE(check.Rows().at(0).Seen(), taken);
        QCOMPARE(check.Unmatched().size(), taken ? 0u : 1u);
        if (!taken)
            QCOMPARE(check.Unmatched().front().key, id & 0x03FFFFFFu);
    }

    void standard_frames_are_not_j1939()
    {
        Program_Folder folder;
        Bus_Check check(Load_Bus_Check_Setup(Write_Config(folder, {{"0", "0x100", "0"}}, true)));
        Can_Frame f = Frame(0x100, "\x01");
        f.extended = false;
        check.Feed(f);
        QVERIFY(!check.Rows().at(0).Seen());
        QVERIFY(check.Unmatched().empty());
        QCOMPARE(check.Standard_Frames(), 1);
    }

    void per_row_result_and_data_area()
    {
        Program_Folder folder;
        // Data_Offset 0 (3 bytes from byte 2) and 3 (8 bytes, the default, from byte 0).
        const QString dir = Write_Config(
            folder, {{"0", "0xFEF1", "0", "N", "2", "3"}, {"0", "0xFEEE", "0", "N", "", ""}},
            false);
        Bus_Check check(Load_Bus_Check_Setup(dir));
        QCOMPARE(check.Setup().rows.at(1).Data_Offset, 3);
        for (int i = 0; i < 4; ++i)
            check.Feed(Frame(0x18FEF100, Payload(8, 0x10 * i), 1000000 + i * 100000));
        check.Feed(Frame(0x18FEEE00, "\xA1\xA2", 5000));
        const Row_Result& r = check.Rows().at(0);
        QCOMPARE(r.stats.count, 4);
        QCOMPARE(r.stats.Mean_Period_ms(), 100.0);
        QCOMPARE(r.last_data, Payload(8, 0x30));
        QCOMPARE(check.Rows().at(1).stats.Mean_Period_ms(), -1.0);
        // A frame shorter than the kept bytes leaves the rest of its place as it was.
        QCOMPARE(check.Data_Area(), QByteArray("\x32\x33\x34\xA1\xA2\0\0\0\0\0\0", 11));
    }

    void address_trouble()
    {
        Program_Folder folder;
        Bus_Check check(Load_Bus_Check_Setup(
            Write_Config(folder, {{"0", "0xFEF1", "0"}}, true, QStringLiteral("0x80"))));
        check.Feed(Frame(0x18EEFF80, QByteArray(8, '\0'))); // someone claims our address
        check.Feed(Frame(0x18FEF180, QByteArray(8, '\0')));
        check.Feed(Frame(0x18EEFF81, QByteArray(8, '\0')));
        check.Feed(Frame(0x18EAFFFE, QByteArray("\x00\xEE\x00", 3)));
        check.Feed(Frame(0x18FEF1FF, QByteArray(8, '\0')));
        check.Feed(Frame(0x18FEF103, QByteArray(8, '\0')));
        const Address_Trouble& t = check.Trouble();
        QCOMPARE(t.own_address, 2);
        QCOMPARE(t.own_claims, 1);
        QCOMPARE(t.null_address, 1);
        QCOMPARE(t.global_address, 1);
        // Under peer-to-peer the row took 0x80, 0xFF and 0x03.
        QCOMPARE(check.Rows_With_Several_Senders(), QList<int>{0});
        QCOMPARE(check.Rows().at(0).senders.count(), 3u);
    }

    // A BAM from 0x00, a second BAM from 0x03 and an RTS/CTS transfer from 0x17 to the
    // converter (0x80), their packets interleaved.
    void transport_protocol()
    {
        Program_Folder folder;
        const QString dir = Write_Config(folder,
                                         {{"0", "0xFEE3", "0", "Y", "0", "20"},
                                          {"0", "0xEF80", "23", "Y", "0", "12"},
                                          {"0", "0xFECA", "0", "N", "0", "8"}},
                                         false);
        Bus_Check check(Load_Bus_Check_Setup(dir));
        const QByteArray a = Payload(20, 0x40), b = Payload(30, 0x80), c = Payload(12, 0xC0);
        const QList<Can_Frame> bam1 = Transfer(32, 0x00, 0xFF, 0xFEE3, a);
        const QList<Can_Frame> bam2 = Transfer(32, 0x03, 0xFF, 0xFEE3, b);
        // An addressed message names its PGN without destination; the transfer gives it.
        const QList<Can_Frame> rts = Transfer(16, 0x17, 0x80, 0xEF00, c);
        QByteArray ctsData("\x11\x02\x01\xFF\xFF\x00\xEF\x00", 8);
        const Can_Frame cts = Frame(0x1CEC1780, ctsData);
        QList<Can_Frame> bus{bam1[0], bam2[0], rts[0],  cts,     bam2[1], bam1[1], rts[1], bam2[2],
                             rts[1], // resent after a CTS
                             rts[2],  bam1[2], bam2[3], bam2[4], bam1[3], bam2[5]};
        QCOMPARE(bam1.size(), 3 + 1);
        QCOMPARE(bam2.size(), 5 + 1);
        for (const Can_Frame& f : bus)
            check.Feed(f);
        QCOMPARE(check.Rows().at(0).stats.count, 1);
        QCOMPARE(check.Rows().at(0).last_data, a);
        QCOMPARE(check.Rows().at(1).stats.count, 1);
        QCOMPARE(check.Rows().at(1).last_data, c);
        QVERIFY(!check.Rows().at(2).Seen());
        // The second BAM comes from a sender no row names; the carrier frames are not listed.
        QCOMPARE(check.Unmatched().size(), 1u);
        const Unmatched_Frame& u = check.Unmatched().front();
        QCOMPARE(u.Pgn(), 0xFEE3);
        QCOMPARE(u.Sa(), 0x03);
        QCOMPARE(u.size, 30);
        QVERIFY(u.transport);
    }

    void transport_needs_the_tick_and_a_whole_transfer()
    {
        Program_Folder folder;
        Bus_Check check(Load_Bus_Check_Setup(
            Write_Config(folder, {{"0", "0xFEE3", "0", "N", "0", "20"}}, false)));
        const QList<Can_Frame> bam = Transfer(32, 0x00, 0xFF, 0xFEE3, Payload(20, 1));
        for (const Can_Frame& f : bam)
            check.Feed(f);
        QVERIFY(!check.Rows().at(0).Seen());
        QCOMPARE(check.Unmatched().size(), 1u);

        // An abort ends the transfer; its later packets make no message.
        const QList<Can_Frame> rts = Transfer(16, 0x17, 0x80, 0xEF00, Payload(12, 2));
        Tp_Reassembler tp;
        Tp_Message m;
        QVERIFY(!tp.Feed(rts[0], m));
        QVERIFY(!tp.Feed(Frame(0x1CEC1780, QByteArray("\xFF\x01\xFF\xFF\xFF\x00\xEF\x00", 8)), m));
        QVERIFY(!tp.Feed(rts[1], m));
        QVERIFY(!tp.Feed(rts[2], m));
        QCOMPARE(tp.Open_Transfers(), 0);
        // Packets without announcement make nothing either.
        QVERIFY(!tp.Feed(bam[2], m));
    }

    void log_forms_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("timed");

        QTest::newRow("candump log")
            << QByteArray("(1436509052.249713) can0 18FEF100#0102030405060708\n"
                          "(1436509052.259713) can0 123#A0B1\n"
                          "(1436509052.300000) can0 0CF00400#R\n")
            << true;
        QTest::newRow("candump screen")
            << QByteArray("  can0  18FEF100   [8]  01 02 03 04 05 06 07 08\n"
                          "  can0       123   [2]  A0 B1\n"
                          "  can0  0CF00400   [0]  remote request\n")
            << false;
        QTest::newRow("candump screen, timestamps, ASCII column, CR LF")
            << QByteArray(" (1436509052.249713)  vcan0  18FEF100   [8]  01 02 03 04 05 06 07 08   "
                          "'........'\r\n"
                          "\r\n"
                          " (1436509052.259713)  vcan0  123   [2]  A0 B1\r\n"
                          " (1436509052.300000)  vcan0  0CF00400   [0]  remote request\r\n")
            << true;
        QTest::newRow("Vector ASC hex")
            << QByteArray("date Fri Dec 11 03:04:05.123 pm 2026\n"
                          "base hex  timestamps absolute\n"
                          "internal events logged\n"
                          "// version 9.0.0\n"
                          "Begin Triggerblock Fri Dec 11 03:04:05.123 pm 2026\n"
                          "   0.000000 Start of measurement\n"
                          "1436509052.249713 1  18FEF100x       Rx   d 8 01 02 03 04 05 06 07 08  "
                          "Length = 544000 BitCount = 141 ID = 419361024x\n"
                          "1436509052.259713 2  123             Tx   d 2 A0 B1\n"
                          "   1.000000 1  ErrorFrame\n"
                          "1436509052.300000 1  CF00400x        Rx   r\n"
                          "End TriggerBlock\n")
            << true;
        QTest::newRow("Vector ASC decimal")
            << QByteArray("date Fri Dec 11 03:04:05.123 pm 2026\n"
                          "base dec  timestamps absolute\n"
                          "1436509052.249713 1  419361024x Rx d 8 1 2 3 4 5 6 7 8\n"
                          "1436509052.259713 1  291 Rx d 2 160 177\n"
                          "1436509052.300000 1  217056256x Rx r\n")
            << true;
    }
    void log_forms()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, timed);
        const QList<Can_Frame> frames = Read_Log(text);
        QCOMPARE(frames.size(), 3);
        QCOMPARE(frames[0].id, 0x18FEF100u);
        QVERIFY(frames[0].extended);
        QCOMPARE(frames[0].size, 8);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(frames[0].data.data()), 8),
                 QByteArray("\x01\x02\x03\x04\x05\x06\x07\x08"));
        QCOMPARE(frames[1].id, 0x123u);
        QVERIFY(!frames[1].extended);
        QCOMPARE(frames[1].size, 2);
        QCOMPARE(frames[1].data[1], 0xB1);
        QCOMPARE(frames[2].id, 0x0CF00400u);
        QVERIFY(frames[2].remote);
        QCOMPARE(frames[0].timed, timed);
        if (timed) {
            QCOMPARE(frames[0].time_us, 1436509052249713LL);
            QCOMPARE(frames[1].time_us - frames[0].time_us, 10000);
        }
    }

    void log_errors_name_the_line_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("line");

        QTest::newRow("log: five digits")
            << QByteArray("(1.0) can0 18FEF100#01\n(1.1) can0 18FEF#01\n") << 2;
        QTest::newRow("log: odd digits") << QByteArray("\n(1.0) can0 18FEF100#012\n") << 2;
        QTest::newRow("log: CAN FD") << QByteArray("(1.0) can0 18FEF100##10102\n") << 1;
        QTest::newRow("log: more than 8 bytes")
            << QByteArray("(1.0) can0 18FEF100#010203040506070809\n") << 1;
        QTest::newRow("log: identifier beyond 29 bits")
            << QByteArray(
                   "(1.0) can0 18FEF100#01\n(1.0) can0 18FEF100#01\n(1.0) can0 3FFFFFFF#01\n")
            << 3;
        QTest::newRow("log: screen line between")
            << QByteArray("(1.0) can0 18FEF100#01\n  can0  18FEF100   [1]  01\n") << 2;
        QTest::newRow("screen: fewer bytes than length")
            << QByteArray("  can0  18FEF100   [3]  01 02\n") << 1;
        QTest::newRow("screen: length 9") << QByteArray("  can0  18FEF100   [9]  01\n") << 1;
        QTest::newRow("screen: garbage") << QByteArray("  can0  18FEF100   [1]  01\nhello\n") << 2;
        QTest::newRow("ASC: no direction")
            << QByteArray("base hex  timestamps absolute\n0.1 1 18FEF100x d 1 01\n") << 2;
        QTest::newRow("ASC: bad byte")
            << QByteArray("base hex  timestamps absolute\n0.1 1 18FEF100x Rx d 2 01 G1\n") << 2;
        QTest::newRow("ASC: unknown base") << QByteArray("date x\nbase oct\n") << 2;
    }
    void log_errors_name_the_line()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, line);
        Reset_Shared();
        Load_Default_Language();
        try {
            Read_Log(text);
            QFAIL("no error");
        } catch (const App_Error& e) {
            QCOMPARE(e.text(), "Line " + QString::number(line) +
                                   ": not a CAN frame of a candump or Vector ASC log");
        }
    }

    void command_data()
    {
        QTest::addColumn<QByteArray>("log");
        QTest::addColumn<QString>("out");
        QTest::addColumn<int>("code");

        QTest::newRow("every row seen")
            << QByteArray("(10.000000) can0 18FEF100#0102030405060708\n"
                          "(10.050000) can0 0CF00400#01020304\n"
                          "(10.100000) can0 18FEF100#0102030405060708\n"
                          "(10.200000) can0 18FEF100#0102030405060708\n")
            << "row 1: seen 3 every 100 ms\nrow 2: seen 1\n"
            << 0;
        QTest::newRow("frames no row takes do not fail the check")
            << QByteArray("(10.000000) can0 18FEF100#01\n"
                          "(10.001000) can0 18EAFF03#00EE00\n"
                          "(10.002000) can0 0CF00400#01\n"
                          "(10.003000) can0 0C00F0FE#01\n"
                          "(10.004000) can0 18EAFF03#00EE00\n")
            << "row 1: seen 1\nrow 2: seen 1\n"
               "not in table: data page 0 PGN 0xEAFF SA 3: 2 frames\n"
               "not in table: data page 0 PGN 0x00F0 SA 254: 1 frames\n"
            << 0;
        QTest::newRow("row not seen, data page 1, conflict")
            << QByteArray("(1.0) can0 18FEF100#01\n"
                          "(1.1) can0 19FEF180#01\n"
                          "(1.2) can0 18EEFF80#0102030405060708\n")
            << "row 1: seen 1\nrow 2: not seen\n"
               "not in table: data page 1 PGN 0xFEF1 SA 128: 1 frames\n"
               "not in table: data page 0 PGN 0xEEFF SA 128: 1 frames\n"
               "conflict: 2 frames use the converter's address 128\n"
            << 1;
        QTest::newRow("every row seen, conflict")
            << QByteArray("(1.0) can0 18FEF100#01\n(1.0) can0 0CF00400#01\n"
                          "(1.1) can0 0CF00480#01\n")
            << "row 1: seen 1\nrow 2: seen 1\n"
               "not in table: data page 0 PGN 0xF004 SA 128: 1 frames\n"
               "conflict: 1 frames use the converter's address 128\n"
            << 1;
    }
    void command()
    {
        QFETCH(QByteArray, log);
        QFETCH(QString, out);
        QFETCH(int, code);
        Program_Folder folder;
        // The converter's address is 128.
        const QString dir =
            Write_Config(folder, {{"0", "65265", "0"}, {"0", "0xF004", "0"}}, false);
        folder.write(QStringLiteral("bus.log"), log);
        const Cli_Text_Run r = Run_Cli_Text(
            {QStringLiteral("buscheck"), dir, QStringLiteral("--log"), folder.file("bus.log")});
        QCOMPARE(r.err, QString());
        QCOMPARE(r.out, out);
        QCOMPARE(r.code, code);
    }

    void command_refuses_data()
    {
        QTest::addColumn<QStringList>("args"); // CONF and LOG stand for the folder and the log
        QTest::addColumn<QString>("err");

        QTest::newRow("no log") << QStringList{"CONF"} << "--log FILE is missing";
        QTest::newRow("no folder")
            << QStringList{"--log", "LOG"} << "configuration folder is missing";
        QTest::newRow("unknown option")
            << QStringList{"CONF", "--log", "LOG", "--live"} << "unknown option '--live'";
        QTest::newRow("missing log") << QStringList{"CONF", "--log", "none.log"} << "none.log";
        QTest::newRow("bad line")
            << QStringList{"CONF", "--log", "BAD"}
            << "bad.log: Line 2: not a CAN frame of a candump or Vector ASC log";
        QTest::newRow("--log twice")
            << QStringList{"CONF", "--log", "LOG", "--log", "LOG"} << "--log";
        QTest::newRow("missing folder") << QStringList{"nowhere", "--log", "LOG"} << "nowhere";
    }
    void command_refuses()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, err);
        Program_Folder folder;
        const QString dir = Write_Config(folder, {{"0", "65265", "0"}}, false);
        folder.write(QStringLiteral("bus.log"), "(1.0) can0 18FEF100#01\n");
        folder.write(QStringLiteral("bad.log"), "(1.0) can0 18FEF100#01\n(1.1) can0 18FEF100#1\n");
        for (QString& a : args) {
            if (a == "CONF")
                a = dir;
            else if (a == "LOG")
                a = folder.file("bus.log");
            else if (a == "BAD")
                a = folder.file("bad.log");
            else if (a == "none.log")
                a = folder.file("none.log");
        }
        const Cli_Text_Run r = Run_Cli_Text(QStringList{QStringLiteral("buscheck")} + args);
        QCOMPARE(r.code, 2);
        QCOMPARE(r.out, QString());
        QVERIFY2(r.err.contains(err), qPrintable(r.err));
    }
};

QTEST_GUILESS_MAIN(tst_buscheck)
#include "tst_buscheck.moc"
