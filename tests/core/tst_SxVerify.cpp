#include "app/UComon.h"
#include "support/SyntheticFirmware.h"
#include "update/SxVerify.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray Image1 = Pattern_Image(16384, 1);
const QByteArray Image2 = Pattern_Image(16384, 2);

// "BANK1" and "BANK2" stand for the window records of the two images.
QByteArray Composed(const QByteArrayList& lines)
{
    QByteArrayList out;
    for (const QByteArray& l : lines) {
        if (l == "BANK1")
            out += Window_Lines(Image1, 0x388000);
        else if (l == "BANK2")
            out += Window_Lines(Image2, 0x398000);
        else
            out.append(l);
    }
    return Join_Lines(out);
}

QByteArray Bad_Checksum(const QByteArray& record)
{
    QByteArray r = record;
    r[r.size() - 1] = r.at(r.size() - 1) == '0' ? '1' : '0';
    return r;
}

} // namespace

class tst_SxVerify final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void verify_data();
    void verify();
    void unreadableFile();
};

void tst_SxVerify::verify_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("checkWindows");
    QTest::addColumn<QString>("reason");

    const QByteArray s0 = Srec_Line("S0", 2, 0, "hdr");
    const QByteArray s1 = Srec_Line("S1", 2, 0x1000, QByteArray(16, '\x01'));
    const QByteArray s9 = Srec_Line("S9", 2, 0, {});
    // Lines 1 and 2 precede the first window record, which is line 3.
    const QByteArray head1 = s0, head2 = s1;

    QTest::newRow("sound file") << Composed({head1, head2, "BANK1", "BANK2", s9}) << true
                                << QString();
    QTest::newRow("LF line ends and no-record lines")
        << QByteArray(Composed({head1, "a comment", "BANK1", "BANK2", s9}).replace("\r\n", "\n"))
        << true << QString();
    QTest::newRow("windows unchecked")
        << Composed({head1, S2_Line(0x388000), s9}) << false << QString();

    QTest::newRow("wrong checksum outside the windows")
        << Composed({head1, Bad_Checksum(s1), "BANK1", "BANK2", s9}) << true
        << "line 2: wrong checksum";
    QByteArrayList bank = Window_Lines(Image1, 0x388000);
    bank[5] = Bad_Checksum(bank[5]);
    QTest::newRow("wrong checksum in a bank record")
        << Join_Lines(QByteArrayList{head1, head2} + bank) << false << "line 8: wrong checksum";
    QTest::newRow("wrong checksum, type in lower case")
        << Composed({head1, "s" + Bad_Checksum(s1).mid(1), s9}) << false
        << "line 2: wrong checksum";
    QTest::newRow("wrong checksum of the end record")
        << Composed({head1, head2, "BANK1", "BANK2", Bad_Checksum(s9)}) << true
        << "line 1027: wrong checksum";
    QTest::newRow("byte count too large")
        << Composed({head1, "S1" + QByteArray("14") + s1.mid(4), s9}) << false
        << "line 2: the byte count does not match the record";
    QTest::newRow("not hexadecimal")
        << Composed({head1, "S1130010ZZ", s9}) << false << "line 2: not a valid S-record";
    QTest::newRow("odd number of digits")
        << Composed({head1, s1 + "0", s9}) << false << "line 2: not a valid S-record";
    QTest::newRow("type S4") << Composed({head1, "S4" + s1.mid(2), s9}) << false
                             << "line 2: the record type S4 is not defined";

    QTest::newRow("S3 record inside bank 1's window")
        << Composed(
               {head1, Srec_Line("S3", 4, 0x0038A000, QByteArray(4, '\x03')), "BANK1", "BANK2", s9})
        << true << "address 0x38A000 is given twice (lines 2 and 259)";
    QTest::newRow("S1 records overlapping")
        << Composed({head1, s1, Srec_Line("S1", 2, 0x100F, QByteArray(2, '\x02')), s9}) << false
        << "address 0x00100F is given twice (lines 2 and 3)";
    QTest::newRow("record running into the window")
        << Composed({S2_Line(0x387FF0), "BANK1", "BANK2", s9}) << true
        << "address 0x388000 is given twice (lines 1 and 2)";
    QTest::newRow("lower-case s2 record inside bank 2's window")
        << Composed({head1, "BANK1", "BANK2", "s" + S2_Line(0x39BFE0).mid(1), s9}) << true
        << "address 0x39BFE0 is given twice (lines 1025 and 1026)";

    QByteArrayList gap = Window_Lines(Image1, 0x388000);
    gap.removeAt(1);
    QTest::newRow("a record of the window missing")
        << Join_Lines(QByteArrayList{head1} + gap + Window_Lines(Image2, 0x398000) +
                      QByteArrayList{s9})
        << true << "address 0x388020 of the bank1.bin window is missing";
    QTest::newRow("bank 2's window empty") << Composed({head1, "BANK1", s9}) << true
                                           << "address 0x398000 of the bank2.bin window is missing";
    QByteArrayList other = Window_Lines(Image2, 0x398000);
    QByteArray changed = Image2.mid(32 * 100, 32);
    changed[7] = char(changed.at(7) ^ 0x40);
    other[100] = S2_Line(0x398000 + 32 * 100, changed);
    QTest::newRow("bank 2's window holds another image")
        << Join_Lines(QByteArrayList{head1} + Window_Lines(Image1, 0x388000) + other +
                      QByteArrayList{s9})
        << true
        << "the bank2.bin window does not hold the image of this update (first difference at "
           "address 0x398C87)";
}

void tst_SxVerify::verify()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, checkWindows);
    QFETCH(QString, reason);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("New_sx38591.sx"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(file);
    f.close();

    const Bank_Images images =
        checkWindows ? Bank_Images{Image1, Image2 + QByteArray(2048, '\xEE')} : Bank_Images{};
    QCOMPARE(Verify_Composed(path, images), reason);
}

void tst_SxVerify::unreadableFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("gone.sx"));
    try {
        Verify_Composed(path, {});
        QFAIL("no error for a missing file");
    } catch (const App_Error& e) {
        QVERIFY2(e.text().startsWith(QStringLiteral("Cannot read the file ")),
                 qPrintable(e.text()));
    }
}

QTEST_GUILESS_MAIN(tst_SxVerify)
#include "tst_SxVerify.moc"
