#include "app/UComon.h"
#include "support/SyntheticFirmware.h"
#include "support/TestSupport.h"
#include "update/SxComposer.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Compose_Fixture : Compose_Folder {
    QStringList messages;

    Sx_Composer Composer()
    {
        Sx_Composer c;
        c.NomeDirSxNew = conf + QLatin1Char('/');
        c.NomeFileSxNew = QStringLiteral("New_sx38591.sx");
        c.NomeDirBin = bin + QLatin1Char('/');
        c.On_Message = [this](const QString& m) { messages.append(m); };
        return c;
    }
};

QByteArray With_Type(const QByteArray& type, const QByteArray& line)
{
    return type + line.mid(2);
}

enum Tweak {
    None = 0,
    No_Firmware = 1,
    No_Result_Name = 2,
    No_Bin = 4,
    No_Bank2 = 8,
    Short_Bank1 = 16,
    Swapped_Bank1 = 32,
};

// Everything in a folder, hidden entries included.
QStringList Entries(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class tst_SxComposer final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void bankRecord_data();
    void bankRecord();
    void merge_data();
    void merge();
    void stops_data();
    void stops();
    void fileErrors_data();
    void fileErrors();
    void readOnlyResult_data();
    void readOnlyResult();
    void usersFilesStayUntouched();
    void fullDisk_data();
    void fullDisk();
    void firstStageOffKeepsTheFirmware();
    void progress();
    void srecCatReadsTheResult();
};

void tst_SxComposer::bankRecord_data()
{
    QTest::addColumn<quint32>("address");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QByteArray>("record");

    QTest::newRow("zeros") << quint32(0x388000) << QByteArray(32, '\0')
                           << QByteArray("S224388000" + QByteArray(64, '0') + "23");
    QTest::newRow("all FF") << quint32(0x388000) << QByteArray(32, '\xFF')
                            << QByteArray("S224388000" + QByteArray(64, 'F') + "43");
    const QByteArray mixed = Pattern_Image(32, 9);
    QTest::newRow("last record of bank 2")
        << quint32(0x39BFE0) << mixed << S2_Line(0x39BFE0, mixed);
}

void tst_SxComposer::bankRecord()
{
    QFETCH(quint32, address);
    QFETCH(QByteArray, data);
    QFETCH(QByteArray, record);

    QCOMPARE(Bank_Record(address, data.constData()), record);
    const QByteArray placeholder = record.chopped(2) + "XX";
    QCOMPARE(Calc_Checksum(placeholder, true), record.right(2));
    QCOMPARE(Calc_Checksum(placeholder, false), record);
}

void tst_SxComposer::merge_data()
{
    QTest::addColumn<QByteArray>("firmware");
    QTest::addColumn<QByteArrayList>("expected");
    // What the check of the result finds: such a result never replaces the previous one.
    QTest::addColumn<QString>("refusal");

    const QByteArray s0 = Srec_Line("S0", 2, 0, "hdr");
    const QByteArray s1 = Srec_Line("S1", 2, 0x1000, QByteArray(8, '\x01'));
    const QByteArray s9 = Srec_Line("S9", 2, 0, {});
    const QByteArray bank2Record = S2_Line(0x398000);

    const QByteArrayList fw = Synthetic_Firmware();
    QTest::newRow("synthetic firmware")
        << Join_Lines(fw)
        << QByteArrayList{fw[0], fw[1], fw[2], fw[3], "BANK1", fw[6], "BANK2", fw[9], fw[10]}
        << QString();

    QTest::newRow("window records in reverse order")
        << Join_Lines({s0, S2_Line(0x389000), s1, S2_Line(0x388000), bank2Record, s9})
        << QByteArrayList{s0, "BANK1", s1, "BANK2", s9} << QString();

    const QByteArray intoWindow = S2_Line(0x387FF0);
    QTest::newRow("record running into the window")
        << Join_Lines({intoWindow, S2_Line(0x388010), bank2Record, s9})
        << QByteArrayList{intoWindow, "BANK1", "BANK2", s9}
        << "Check of New_sx38591.sx Failed (address 0x388000 is given twice (lines 1 and 2)),"
           "Abort Procedure";

    QTest::newRow("window edges") << Join_Lines({S2_Line(0x38BFFF), S2_Line(0x38C000),
                                                 S2_Line(0x397FFF), S2_Line(0x39BFFF),
                                                 S2_Line(0x39C000), s9})
                                  << QByteArrayList{"BANK1", S2_Line(0x38C000), S2_Line(0x397FFF),
                                                    "BANK2", S2_Line(0x39C000), s9}
                                  // 0x397FFF's data runs into bank 2's window.
                                  << "Check of New_sx38591.sx Failed (address 0x398000 is given "
                                     "twice (lines 514 and 515)),Abort Procedure";

    const QByteArray s3 = Srec_Line("S3", 4, 0x00388000, QByteArray(4, '\x03'));
    const QByteArray s5 = Srec_Line("S5", 2, 7, {});
    const QByteArray s7 = Srec_Line("S7", 4, 0, {});
    const QByteArray s8 = Srec_Line("S8", 3, 0, {});
    const QByteArray lower = With_Type("s2", S2_Line(0x388000));
    const QByteArray other = "not a record";
    QTest::newRow("other types copied")
        << Join_Lines({s1, s3, s5, s7, s8, lower, other, S2_Line(0x388000), bank2Record, s9})
        << QByteArrayList{s1, s3, s5, s7, s8, lower, other, "BANK1", "BANK2", s9}
        << "Check of New_sx38591.sx Failed (address 0x388000 is given twice (lines 2 and 6)),"
           "Abort Procedure";
    QTest::newRow("other types copied, none in a window")
        << Join_Lines({s1, s5, s7, s8, other, S2_Line(0x388000), bank2Record, s9})
        << QByteArrayList{s1, s5, s7, s8, other, "BANK1", "BANK2", s9} << QString();

    QTest::newRow("LF line ends, last line without end")
        << Join_Lines({s0, S2_Line(0x388000), bank2Record, s9}, "\n").chopped(1)
        << QByteArrayList{s0, "BANK1", "BANK2", s9} << QString();

    // Files are read in blocks of 256 KiB: the CR of line 3361 is the last byte of the first
    // block, its LF the first of the next.
    QByteArrayList big{"S0" + QByteArray(61, 'x')};
    for (quint32 i = 0; i < 8000; ++i)
        big.append(S2_Line(0x100000 + 32 * i));
    const QByteArrayList bigTail{S2_Line(0x388000), bank2Record, s9};
    // Its long first line is no valid header record.
    const QString badHeader = QStringLiteral(
        "Check of New_sx38591.sx Failed (line 1: not a valid S-record),Abort Procedure");
    QTest::newRow("larger than the read buffer")
        << Join_Lines(big + bigTail) << big + QByteArrayList{"BANK1", "BANK2", s9} << badHeader;
    QTest::newRow("larger than the read buffer, LF")
        << Join_Lines(big + bigTail, "\n") << big + QByteArrayList{"BANK1", "BANK2", s9}
        << badHeader;

    QTest::newRow("empty lines passed over")
        << Join_Lines({s0, "", S2_Line(0x388000), "", bank2Record, s9, "", ""})
        << QByteArrayList{s0, "BANK1", "BANK2", s9} << QString();
}

void tst_SxComposer::merge()
{
    QFETCH(QByteArray, firmware);
    QFETCH(QByteArrayList, expected);
    QFETCH(QString, refusal);

    Compose_Fixture f;
    Compose_Fixture::Write(f.firmware, firmware);
    const std::array<std::optional<int>, Stage_Count> stages{1, 1, 0, 0, 0};
    for (const bool verify : {false, true}) {
        Compose_Fixture::Write(f.result, "an earlier result");
        f.messages.clear();
        Sx_Composer c = f.Composer();
        c.Verify = verify;

        const bool refused = verify && !refusal.isEmpty();
        QCOMPARE(c.Compose(f.firmware), !refused);

        QCOMPARE(Read_All(f.result),
                 refused ? QByteArray("an earlier result") : f.Expected(expected));
        QCOMPARE(f.messages, refused ? QStringList{refusal} : QStringList());
        QVERIFY(c.Stage_Result == stages);
        QCOMPARE(Entries(f.conf), (QStringList{"New_sx38591.sx", "bin"}));
        QCOMPARE(f.Leftovers(), QStringList());
        QCOMPARE(Read_All(f.firmware), firmware);
    }
}

void tst_SxComposer::stops_data()
{
    QTest::addColumn<QByteArray>("firmware");
    QTest::addColumn<int>("tweak");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QList<int>>("stages");

    const QByteArrayList fw = Synthetic_Firmware();
    const QByteArray good = Join_Lines(fw);
    const QByteArray s9 = fw.last();
    const QByteArray bank1Record = S2_Line(0x388000);
    const QByteArray bank2Record = S2_Line(0x398000);
    const QString badLine = QStringLiteral("File New Sx Not Create,Abort Procedure");

    QTest::newRow("firmware missing")
        << good << int(No_Firmware)
        << QStringList{QStringLiteral("File *.Sx Not Found,Abort Procedure")} << QList<int>{-1};
    QTest::newRow("firmware checked before the bin folder")
        << good << int(No_Firmware | No_Bin)
        << QStringList{QStringLiteral("File *.Sx Not Found,Abort Procedure")} << QList<int>{-1};
    QTest::newRow("no result name")
        << good << int(No_Result_Name)
        << QStringList{QStringLiteral("File New *.Sx Not Found,Abort Procedure")} << QList<int>{-1};
    QTest::newRow("bin folder missing")
        << good << int(No_Bin)
        << QStringList{QStringLiteral("Directory Bin Not Found,Abort Procedure")} << QList<int>{-1};
    QTest::newRow("bank2.bin missing")
        << good << int(No_Bank2)
        << QStringList{QStringLiteral("File bank2.bin Not Found,Abort Procedure")}
        << QList<int>{1, -1};
    QTest::newRow("bank1.bin one byte short")
        << good << int(Short_Bank1)
        << QStringList{QStringLiteral("File bank1.bin Too Short,Abort Procedure")}
        << QList<int>{-1};
    QTest::newRow("bank1.bin replaced since this update wrote it")
        << good << int(Swapped_Bank1)
        << QStringList{QStringLiteral(
               "File bank1.bin Changed Since This Update Wrote It,Abort Procedure")}
        << QList<int>{-1};
    QTest::newRow("ends in S8 without S9")
        << Join_Lines(fw.mid(0, fw.size() - 1) + QByteArrayList{Srec_Line("S8", 3, 0, {})})
        << int(None)
        << QStringList{QStringLiteral(
               "No S9 Record in sx38591.sx, No File Created,Abort Procedure")}
        << QList<int>{-1};
    QTest::newRow("S2 line of 9 characters")
        << Join_Lines({bank1Record, "S20438800", bank2Record, s9}) << int(None)
        << QStringList{badLine} << QList<int>{-1};
    QTest::newRow("S2 address not hexadecimal")
        << Join_Lines({bank1Record, "S2243880G0", bank2Record, s9}) << int(None)
        << QStringList{badLine} << QList<int>{-1};
    QTest::newRow("unreadable line after S9")
        << Join_Lines({bank1Record, bank2Record, s9, "S2"}) << int(None) << QStringList{badLine}
        << QList<int>{-1};
    QTest::newRow("nothing in bank 1's window")
        << Join_Lines({S2_Line(0x387FE0), bank2Record, s9}) << int(None)
        << QStringList{QStringLiteral("Address Window of bank1.bin Not Found,Abort Procedure")}
        << QList<int>{-1};
    QTest::newRow("nothing in bank 2's window")
        << Join_Lines({bank1Record, S2_Line(0x39C000), s9}) << int(None)
        << QStringList{QStringLiteral("Address Window of bank2.bin Not Found,Abort Procedure")}
        << QList<int>{1, -1};
    QTest::newRow("bank 1's window only after S9")
        << Join_Lines({S2_Line(0x387FE0), s9, bank1Record, bank2Record}) << int(None)
        << QStringList{QStringLiteral(
               "Address Window of bank1.bin After End Record S9,Abort Procedure")}
        << QList<int>{-1};
    QTest::newRow("bank 2's window only after S9")
        << Join_Lines({bank1Record, s9, bank2Record}) << int(None)
        << QStringList{QStringLiteral(
               "Address Window of bank2.bin After End Record S9,Abort Procedure")}
        << QList<int>{1, -1};
}

void tst_SxComposer::stops()
{
    QFETCH(QByteArray, firmware);
    QFETCH(int, tweak);
    QFETCH(QStringList, messages);
    QFETCH(QList<int>, stages);

    Compose_Fixture f;
    if (!(tweak & No_Firmware))
        Compose_Fixture::Write(f.firmware, firmware);
    if (tweak & No_Bin)
        QVERIFY(QDir(f.bin).removeRecursively());
    if (tweak & No_Bank2)
        QVERIFY(QFile::remove(f.bin + QStringLiteral("/bank2.bin")));
    if (tweak & Short_Bank1)
        Compose_Fixture::Write(f.bin + QStringLiteral("/bank1.bin"), f.bank1.left(16383));
    Compose_Fixture::Write(f.result, "an earlier result");
    Sx_Composer c = f.Composer();
    if (tweak & No_Result_Name)
        c.NomeFileSxNew.clear();
    if (tweak & Swapped_Bank1) {
        // The images this update wrote; the file on disk is another one.
        c.Expected_Images = {Pattern_Image(16384, 7), f.bank2};
    }

    QVERIFY(!c.Compose(f.firmware));

    QCOMPARE(f.messages, messages);
    for (int stage = 0; stage < Stage_Count; ++stage) {
        if (stage < stages.size())
            QCOMPARE(c.Stage_Result[size_t(stage)], std::optional<int>(stages[stage]));
        else
            QVERIFY2(!c.Stage_Result[size_t(stage)], qPrintable(QString::number(stage + 1)));
    }
    QCOMPARE(Read_All(f.result), QByteArray("an earlier result"));
    QCOMPARE(f.Leftovers(), QStringList());
    const QStringList left =
        (tweak & No_Bin) ? QStringList{"New_sx38591.sx"} : QStringList{"New_sx38591.sx", "bin"};
    QCOMPARE(Entries(f.conf), left);
}

void tst_SxComposer::fileErrors_data()
{
    QTest::addColumn<bool>("missingOutputFolder");
    QTest::newRow("output folder missing") << true;
    QTest::newRow("result name taken by a folder") << false;
}

void tst_SxComposer::fileErrors()
{
    QFETCH(bool, missingOutputFolder);

    Compose_Fixture f;
    Compose_Fixture::Write(f.firmware, Join_Lines(Synthetic_Firmware()));
    Sx_Composer c = f.Composer();
    if (missingOutputFolder)
        c.NomeDirSxNew = f.root.filePath(QStringLiteral("gone/"));
    else
        QVERIFY(QDir().mkpath(f.result + QStringLiteral("/inside")));

    try {
        c.Compose(f.firmware);
        QFAIL("no error reported");
    } catch (const App_Error& e) {
        QVERIFY2(e.text().startsWith(QStringLiteral("Cannot write the file ")),
                 qPrintable(e.text()));
    }
    QCOMPARE(f.Leftovers(), QStringList());
}

void tst_SxComposer::readOnlyResult_data()
{
    QTest::addColumn<bool>("folder");
    QTest::addColumn<QString>("reason");
    QTest::newRow("read-only result file") << false << "the file is read-only";
    QTest::newRow("read-only folder") << true << "the folder is read-only";
}

void tst_SxComposer::readOnlyResult()
{
    QFETCH(bool, folder);
    QFETCH(QString, reason);

    Compose_Fixture f;
    Compose_Fixture::Write(f.firmware, Join_Lines(Synthetic_Firmware()));
    Compose_Fixture::Write(f.result, "an earlier result");
    const QString locked = folder ? f.conf : f.result;
    const QFile::Permissions before = QFile::permissions(locked);
    // Write permission for nobody: an administrator could still write, but must not.
    QVERIFY(QFile::setPermissions(locked, before & ~(QFile::WriteOwner | QFile::WriteUser |
                                                     QFile::WriteGroup | QFile::WriteOther)));
    const auto restore = qScopeGuard([&] { QFile::setPermissions(locked, before); });
    Sx_Composer c = f.Composer();

    try {
        c.Compose(f.firmware);
        QFAIL("a read-only result was replaced");
    } catch (const App_Error& e) {
        QCOMPARE(e.text(), QStringLiteral("Cannot write the file ") +
                               QDir::toNativeSeparators(f.result) + QStringLiteral(": ") + reason);
    }
    QCOMPARE(Read_All(f.result), QByteArray("an earlier result"));
    QCOMPARE(Entries(f.conf), (QStringList{"New_sx38591.sx", "bin"}));
}

void tst_SxComposer::usersFilesStayUntouched()
{
    Compose_Fixture f;
    Compose_Fixture::Write(f.firmware, Join_Lines(Synthetic_Firmware()));
    // Files of the user's own under the names the stages use, some of them read-only.
    QStringList own;
    for (int stage = 1; stage <= Stage_Count; ++stage)
        own << f.conf + QStringLiteral("/B%1.sx").arg(stage);
    own << f.bin + QStringLiteral("/Bin.sx");
    for (int i = 0; i < own.size(); ++i) {
        Compose_Fixture::Write(own[i], "the user's " + own[i].toUtf8());
        if (i % 2 == 0)
            QVERIFY(QFile::setPermissions(own[i], QFile::ReadOwner | QFile::ReadUser));
    }
    // The private folders of killed runs (one never got its lock, one was killed while it
    // took it and left the lock empty, one was killed while it reclaimed a dead run's lock)
    // and one of a run still going (its lock is held).
    const QString dead = f.conf + QStringLiteral("/.New_sx38591.sx.compose-dead01");
    const QString emptyLock = f.conf + QStringLiteral("/.New_sx38591.sx.compose-dead02");
    const QString live = f.conf + QStringLiteral("/.New_sx38591.sx.compose-live01");
    QVERIFY(QDir().mkpath(dead));
    Compose_Fixture::Write(dead + QStringLiteral("/B5.sx"), "cut");
    QVERIFY(QDir().mkpath(emptyLock));
    Compose_Fixture::Write(emptyLock + QStringLiteral("/lock"), QByteArray());
    const QString reclaiming = f.conf + QStringLiteral("/.New_sx38591.sx.compose-dead03");
    QVERIFY(QDir().mkpath(reclaiming));
    Compose_Fixture::Write(reclaiming + QStringLiteral("/lock"), "2147483646\nsw38591-cli\n\n");
    Compose_Fixture::Write(reclaiming + QStringLiteral("/lock.rmlock"), QByteArray());
    QVERIFY(QDir().mkpath(live));
    QLockFile liveLock(live + QStringLiteral("/lock"));
    QVERIFY(liveLock.tryLock(0));

    Sx_Composer c = f.Composer();
    QVERIFY(c.Compose(f.firmware));

    for (const QString& path : own)
        QCOMPARE(Read_All(path), "the user's " + path.toUtf8());
    QVERIFY(!QFileInfo::exists(dead));
    QVERIFY(!QFileInfo::exists(emptyLock));
    QVERIFY(!QFileInfo::exists(reclaiming));
    QVERIFY(QFileInfo::exists(live + QStringLiteral("/lock")));
    QCOMPARE(Entries(f.conf), (QStringList{".New_sx38591.sx.compose-live01", "B1.sx", "B2.sx",
                                           "B3.sx", "B4.sx", "B5.sx", "New_sx38591.sx", "bin"}));
    QCOMPARE(Entries(f.bin), (QStringList{"Bin.sx", "bank1.bin", "bank2.bin"}));
}

void tst_SxComposer::fullDisk_data()
{
    // Free room as a share of the size of the result.
    QTest::addColumn<double>("room");
    QTest::newRow("no room for the first stage") << 0.5;
    QTest::newRow("no room for the second stage") << 1.5;
}

void tst_SxComposer::fullDisk()
{
    QFETCH(double, room);

    Compose_Fixture f;
    // A firmware of some size, so that each stage needs room.
    QByteArrayList fw = Synthetic_Firmware();
    for (quint32 i = 0; i < 4000; ++i)
        fw.insert(1, S2_Line(0x100000 + 32 * i));
    Compose_Fixture::Write(f.firmware, Join_Lines(fw));
    const qint64 size = qint64(Join_Lines(fw).size()) + 2 * 512 * 78;

    Small_Disk disk(4 * size);
    if (!disk.ok())
        QSKIP(qPrintable(disk.reason()));
    const QString out = disk.path() + QStringLiteral("/out");
    QVERIFY(QDir().mkpath(out));
    const QByteArray earlier(size / 2, 'E');
    Compose_Fixture::Write(out + QStringLiteral("/New_sx38591.sx"), earlier);
    disk.Leave_Free(qint64(room * double(size)));

    Sx_Composer c = f.Composer();
    c.NomeDirSxNew = out + QLatin1Char('/');
    try {
        c.Compose(f.firmware);
        QFAIL("no error on a full disk");
    } catch (const App_Error& e) {
        QVERIFY2(e.text().startsWith(QStringLiteral("Cannot write the file ")) &&
                     e.text().endsWith(QStringLiteral(": No space left on device")),
                 qPrintable(e.text()));
    }
    QCOMPARE(Read_All(out + QStringLiteral("/New_sx38591.sx")), earlier);
    QCOMPARE(Entries(out), QStringList{"New_sx38591.sx"});

    // With room again the same compose goes through.
    disk.Release();
    QVERIFY(c.Compose(f.firmware));
    QCOMPARE(Entries(out), QStringList{"New_sx38591.sx"});
}

void tst_SxComposer::firstStageOffKeepsTheFirmware()
{
    Compose_Fixture f;
    const QByteArrayList fw = Synthetic_Firmware();
    Compose_Fixture::Write(f.firmware, Join_Lines(fw, "\n"));
    Sx_Composer c = f.Composer();
    c.Merge_Switch[0] = false;

    QVERIFY(c.Compose(f.firmware));

    QCOMPARE(Read_All(f.firmware), Join_Lines(fw, "\n"));
    QCOMPARE(Read_All(f.result),
             f.Expected({fw[0], fw[1], fw[2], fw[3], fw[4], fw[5], fw[6], "BANK2", fw[9], fw[10]}));
    const std::array<std::optional<int>, Stage_Count> stages{0, 1, 0, 0, 0};
    QVERIFY(c.Stage_Result == stages);
}

void tst_SxComposer::progress()
{
    Compose_Fixture f;
    const QByteArrayList fw = Synthetic_Firmware();
    Compose_Fixture::Write(f.firmware, Join_Lines(fw));
    Sx_Composer c = f.Composer();
    QList<QPair<int, int>> steps;
    c.On_Progress = [&](int value, int maximum) { steps.append({value, maximum}); };

    QVERIFY(c.Compose(f.firmware));

    // Stage 2 reads stage 1's output: two window records became 512.
    const int firstMaximum = 512 + int(fw.size());
    const int secondMaximum = 512 + int(fw.size()) - 2 + 512;
    QList<int> ends;
    int last = 0;
    for (const auto& [value, maximum] : steps) {
        if (maximum == 0) {
            QCOMPARE(value, 0);
            last = 0;
            continue;
        }
        QVERIFY(value >= last && value <= maximum);
        last = value;
        if (value == maximum && (ends.isEmpty() || ends.last() != maximum))
            ends.append(maximum);
    }
    QCOMPARE(ends, (QList<int>{firstMaximum, secondMaximum}));
}

void tst_SxComposer::srecCatReadsTheResult()
{
    const QString srecCat = QStandardPaths::findExecutable(QStringLiteral("srec_cat"));
    if (srecCat.isEmpty())
        QSKIP("srec_cat (Debian package srecord) is not installed");

    Compose_Fixture f;
    Compose_Fixture::Write(f.firmware, Join_Lines(Synthetic_Firmware()));
    Sx_Composer c = f.Composer();
    QVERIFY(c.Compose(f.firmware));

    const struct {
        const char* first;
        const char* end;
        QByteArray image;
    } windows[] = {{"0x388000", "0x38C000", f.bank1},
                   {"0x398000", "0x39C000", f.bank2.left(16384)}};
    for (const auto& w : windows) {
        const QString out = f.root.filePath(QStringLiteral("window.bin"));
        QProcess p;
        p.start(srecCat,
                {f.result, QStringLiteral("-crop"), QLatin1String(w.first), QLatin1String(w.end),
                 QStringLiteral("-offset"), QStringLiteral("-") + QLatin1String(w.first),
                 QStringLiteral("-o"), out, QStringLiteral("-binary")});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.readAllStandardError(), QByteArray());
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(Read_All(out), w.image);
    }
}

QTEST_GUILESS_MAIN(tst_SxComposer)
#include "tst_SxComposer.moc"
