#include "app/UComon.h"
#include "configurations/ConfigFiles.h"
#include "configurations/CsvTable.h"

#include <QTest>

namespace {

const QByteArray Comment = "<!--SW_VERSION = 2.000-->";
const QByteArray Bom = "\xEF\xBB\xBF";

// Texts a spreadsheet round trip tends to spoil: outer blanks, separators, quotes, line
// breaks, accents, untouched (empty) check boxes.
const QByteArray Receive_File =
    "<Receive_Frames>"
    "<row DataPage=\"0\" PGN=\" 0xFEF1\" SA=\"0\" TransportProtocol=\"\" StartByte=\"\" "
    "NumBytes=\"\" Delete=\"Y\" OnRequest=\"N\" OnReq_Time=\"1000\" Mnemonic=\"CCVS, speed\"/>"
    "<row DataPage=\"1\" PGN=\"61444\" SA=\"$FE\" TransportProtocol=\"Y\" StartByte=\"8\" "
    "NumBytes=\"4 \" Delete=\"N\" OnRequest=\"Y\" OnReq_Time=\"250\" "
    "Mnemonic=\"Drehzahl &quot;Motor&quot; ü;é&#10;zweite Zeile\"/>"
    "</Receive_Frames>" +
    Comment;
const QByteArray Send_File =
    "<Receive_Frames>"
    "<row Priority=\"6\" DataPage=\"0\" PGN=\"0xFEF1\" SA=\"0x80\" NumByte=\"8\" OnRequest=\"\" "
    "DataChange=\"Y\" OnTimer=\"N\" OnTimer_Time=\"1000\" Mnemonic=\"\"/>"
    "<row Priority=\"3\" DataPage=\"1\" PGN=\"0\" SA=\"17\" NumByte=\"\" OnRequest=\"N\" "
    "DataChange=\"N\" OnTimer=\"Y\" OnTimer_Time=\"10\" Mnemonic=\"&#9; tab;semi\"/>"
    "</Receive_Frames>" +
    Comment;

template <typename Row> QList<QStringList> Cells(const QList<Row>& rows)
{
    QList<QStringList> out;
    for (const Row& r : rows) {
        QStringList c;
        for (int i = 0; i < Row::Count; ++i)
            c << r.field(i);
        out << c;
    }
    return out;
}

template <typename Row> QList<Row> Rows(const QList<QStringList>& cells)
{
    QList<Row> out;
    for (const QStringList& c : cells) {
        Row r;
        for (int i = 0; i < Row::Count; ++i)
            r.field(i) = c[i];
        out << r;
    }
    return out;
}

QString Error_Of(const QByteArray& csv, const Csv_Layout& layout)
{
    try {
        Read_Csv_Table(csv, QStringLiteral("rows.csv"), layout);
    } catch (const App_Error& e) {
        return e.text();
    }
    return {};
}

} // namespace

class tst_csvtable final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data()
    {
        QTest::addColumn<bool>("receive");
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("receive") << true << Receive_File;
        QTest::newRow("transmit") << false << Send_File;
    }

    // Stored file -> CSV -> stored file gives the same bytes.
    void roundTrip()
    {
        QFETCH(bool, receive);
        QFETCH(QByteArray, file);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("f.xml"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(file);
        f.close();
        const Csv_Layout layout = receive ? Receive_Csv_Layout() : Send_Csv_Layout();
        const QList<QStringList> cells =
            receive ? Cells(Read_Receive_Frames(path)) : Cells(Read_Send_Frames(path));
        const QByteArray csv = Csv_Text(layout, cells);
        QVERIFY(csv.startsWith(Bom));
        const Csv_Import back = Read_Csv_Table(csv, QStringLiteral("t.csv"), layout);
        QCOMPARE(back.rows, cells);
        QCOMPARE(back.separator, QChar(u','));
        QVERIFY(back.unknown.isEmpty());
        const QByteArray xml = receive ? Receive_Frames_Xml(Rows<Receive_Frame_Row>(back.rows))
                                       : Send_Frames_Xml(Rows<Send_Frame_Row>(back.rows));
        QCOMPARE(xml, file);
    }

    void header()
    {
        const QByteArray csv = Csv_Text(Send_Csv_Layout(), {});
        QCOMPARE(csv, Bom + "Priority,Data Page,PGN,Source Address,Num Byte,On Request,"
                            "Data Change,On Timer,Time(ms),Mnemonic\r\n");
        QCOMPARE(Csv_Text(Receive_Csv_Layout(), {{"0", "1", "2", "", "", "", "", "", "", "a\"b"}}),
                 Bom + "Data Page,PGN,Source Address,Transport Protocol,Start Byte,Num Bytes,"
                       "Cancel Data,On Request,Time(ms),Mnemonic\r\n0,1,2,,,,,,,\"a\"\"b\"\r\n");
    }

    void import_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QChar>("separator");
        QTest::addColumn<QList<QStringList>>("rows");
        QTest::addColumn<QStringList>("unknown");

        // As a European spreadsheet saves it: semicolons, a BOM, decimal commas left alone,
        // columns in its own order, a column of its own, no line break at the end.
        QTest::newRow("semicolon with BOM")
            << Bom + "Mnemonic;PGN;Data Page;Source Address;Comment\r\n"
                     "Geschwindigkeit \xC3\xBC;0xFEF1;0;0;1,5\r\n"
                     ";;;;\r\n"
                     "\"Temp; Öl\";65262;0;0;"
            << QChar(u';')
            << QList<QStringList>{{"0", "0xFEF1", "0", "N", "", "", "N", "N", "1000",
                                   "Geschwindigkeit ü"},
                                  {"0", "65262", "0", "N", "", "", "N", "N", "1000", "Temp; Öl"}}
            << QStringList{"Comment"};
        QTest::newRow("tab, attribute names, no BOM, Windows-1252")
            << QByteArray("pgn\tSA\tDataPage\tNumBytes\tMnemonic\n"
                          "61444\t0\t0\t8\tw\xE4rme \x80\n")
            << QChar(u'\t')
            << QList<QStringList>{{"0", "61444", "0", "N", "", "8", "N", "N", "1000", "wärme €"}}
            << QStringList{};
        QTest::newRow("comma, quoted line break, CR LF")
            << QByteArray("PGN,Mnemonic\r\n1,\"a\r\nb\"\r\n2,\"\"\"\"\r\n") << QChar(u',')
            << QList<QStringList>{{"", "1", "", "N", "", "", "N", "N", "1000", "a\r\nb"},
                                  {"", "2", "", "N", "", "", "N", "N", "1000", "\""}}
            << QStringList{};
    }

    void import()
    {
        QFETCH(QByteArray, csv);
        QFETCH(QChar, separator);
        QFETCH(QList<QStringList>, rows);
        QFETCH(QStringList, unknown);
        const Csv_Import r = Read_Csv_Table(csv, QStringLiteral("rows.csv"), Receive_Csv_Layout());
        QCOMPARE(r.separator, separator);
        QCOMPARE(r.rows, rows);
        QCOMPARE(r.unknown, unknown);
    }

    void malformed_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QString>("error");
        QTest::newRow("open quote") << QByteArray("PGN,Mnemonic\n1,a\n2,\"open\nstill\n")
                                    << "rows.csv, line 3: a quoted cell is not closed";
        QTest::newRow("cells") << QByteArray("PGN,Mnemonic\r\n1,a\r\n2,b,c\r\n")
                               << "rows.csv, line 3: 3 cells, expected 2 as in the header";
        QTest::newRow("after quote") << QByteArray("PGN;Mnemonic\n1;a\n\"x\" y;b\n")
                                     << "rows.csv, line 3: text after the closing quote of a cell";
        QTest::newRow("key cell") << QByteArray("PGN;Mnemonic\n1;a\n\n ;b\n")
                                  << "rows.csv, line 4: the cell \"PGN\" is blank; a row "
                                     "without it would end the table";
        QTest::newRow("no key column") << QByteArray("Mnemonic;Data Page\na;0\n")
                                       << "rows.csv, line 1: expected a column \"PGN\"";
        QTest::newRow("twice") << QByteArray("PGN,pgn\n1,2\n")
                               << "rows.csv, line 1: the column \"PGN\" is given twice";
        QTest::newRow("stray quote") << QByteArray("PGN,Mnemonic\n1,a \"b\"\n")
                                     << "rows.csv, line 2: a quote inside a cell that does not "
                                        "begin with one";
        QTest::newRow("empty") << QByteArray(Bom)
                               << "rows.csv, line 1: expected a header line "
                                  "with the column titles";
    }

    void malformed()
    {
        QFETCH(QByteArray, csv);
        QFETCH(QString, error);
        QCOMPARE(Error_Of(csv, Receive_Csv_Layout()), error);
    }
};

QTEST_GUILESS_MAIN(tst_csvtable)
#include "tst_csvtable.moc"
