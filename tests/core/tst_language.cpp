#include "app/UComon.h"
#include "language/ULanguage.h"
#include "support/TestSupport.h"

#include <QStringEncoder>
#include <QTest>

class Tst_Language : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void defaults()
    {
        Reset_Shared();
        Load_Default_Language();
        QCOMPARE(Shared.Lang_Table.size(), 1000);
        QCOMPARE(Shared.Lang_Count, 1000);
        QCOMPARE(Msg(0), QStringLiteral("Begin"));
        QCOMPARE(Msg(9), QStringLiteral("None Configuration Opened "));
        QCOMPARE(Msg(11), QStringLiteral("Opened Configuration of the Converter : "));
        QCOMPARE(Msg(305), QStringLiteral("Page "));
        QCOMPARE(Msg(306), QStringLiteral(" / "));
        QCOMPARE(Msg(402), QStringLiteral(" Select Device "));
        QCOMPARE(Msg(425),
                 QStringLiteral("Insert the time in  milliseconds between two send frames "
                                "(between 1 and 65535 milliseconds)"));
        QCOMPARE(Msg(643), QStringLiteral("Are you sure to delete the Row number "));
        QCOMPARE(Msg(902), QStringLiteral("Error!!! Copy a valid row before Paste it"));
        // Unlisted slots hold one blank, never an empty text.
        QCOMPARE(Msg(99), QStringLiteral(" "));
        QCOMPARE(Msg(500), QStringLiteral(" "));
        QCOMPARE(Msg(999), QStringLiteral(" "));
        int used = 0;
        for (const QString& t : std::as_const(Shared.Lang_Table)) {
            QVERIFY(!t.isEmpty());
            used += t != QLatin1String(" ");
        }
        QCOMPARE(used, 481);
    }

    void line_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("expected"); // text of `slot` afterwards

        const QString pil(QChar(0x00B6));
        QTest::newRow("plain") << "STR12 = Hello" << 12 << "Hello";
        QTest::newRow("extra blanks") << "   STR12   =    Hello   " << 12 << "Hello";
        QTest::newRow("tabs and controls") << "\tSTR12 = Hello\t\x01" << 12 << "Hello";
        QTest::newRow("no blank before =") << "STR12=Hello" << 12 << "Hello";
        QTest::newRow("no blank, one digit") << "STR5=Hello" << 5 << "Hello";
        QTest::newRow("lower case") << "str12 = Hello" << 12 << "Information";
        QTest::newRow("comment sign first") << "#STR12 = Hello" << 12 << "Information";
        QTest::newRow("index 1000") << "STR1000 = x" << 999 << " ";
        QTest::newRow("index -1") << "STR-1 = x" << 0 << "Begin";
        QTest::newRow("last slot") << "STR999 = x" << 999 << "x";
        QTest::newRow("pilcrows keep blanks") << "STR11 = " + pil + "Opened Configuration : " + pil
                                              << 11 << "Opened Configuration : ";
        QTest::newRow("no pilcrows trim")
            << "STR11 = Opened Configuration : " << 11 << "Opened Configuration :";
        QTest::newRow("pilcrow then comment")
            << "STR11 = " + pil + " a " + pil + " /#/ label" << 11 << " a ";
        QTest::newRow("comment") << "STR20 = Set Communication /#/ button" << 20
                                 << "Set Communication";
        QTest::newRow("only comment") << "STR20 = /#/ button" << 20 << "Set Communication";
        QTest::newRow("empty text") << "STR20 =    " << 20 << "Set Communication";
        QTest::newRow("no equals") << "STR20 Hello" << 20 << "Set Communication";
        QTest::newRow("index not a number") << "STRx = Hi" << 20 << "Set Communication";
        QTest::newRow("index with inner blank") << "STR1 2 = Hi" << 12 << "Information";
        QTest::newRow("lone pilcrow") << "STR12 = " + pil << 12 << "";
        QTest::newRow("two pilcrows") << "STR12 = " + pil + pil << 12 << "";
        QTest::newRow("pilcrow inside") << "STR12 = a" + pil + "b" << 12 << "a";
        QTest::newRow("equals in text") << "STR12 = a = b" << 12 << "a = b";
    }

    void line()
    {
        QFETCH(QString, line);
        QFETCH(int, slot);
        QFETCH(QString, expected);
        Reset_Shared();
        Load_Default_Language();
        const QStringList before = Shared.Lang_Table;
        Apply_Lng_Line(line);
        QCOMPARE(Msg(slot), expected);
        QCOMPARE(Shared.Lang_Table.size(), 1000);
        for (int i = 0; i < 1000; ++i)
            if (i != slot)
                QCOMPARE(Shared.Lang_Table.at(i), before.at(i));
    }

    void encodings_data()
    {
        QTest::addColumn<QByteArray>("bytes");

        const QString text =
            QStringLiteral("header line\r\nSTR12 = Opzioni \u00B6x\u00B6 \u20AC\r\n"
                           "STR13 = Chiudi\nSTR14 = \u00C0 bient\u00F4t\rSTR15 = end");
        QStringEncoder le(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
        QStringEncoder be(QStringEncoder::Utf16BE, QStringEncoder::Flag::WriteBom);
        QTest::newRow("utf-8 bom") << QByteArray("\xEF\xBB\xBF" + text.toUtf8());
        QTest::newRow("utf-16 le") << QByteArray(le(text));
        QTest::newRow("utf-16 be") << QByteArray(be(text));
        QTest::newRow("utf-8 without mark") << text.toUtf8();
        // No mark: Windows-1252, where 0xB6 is the pilcrow and 0x80 the euro sign.
        QTest::newRow("windows-1252")
            << QByteArray("header line\r\nSTR12 = Opzioni \xB6x\xB6 \x80\r\nSTR13 = Chiudi\n"
                          "STR14 = \xC0 bient\xF4t\rSTR15 = end");
    }

    void encodings()
    {
        QFETCH(QByteArray, bytes);
        Program_Folder folder;
        folder.write("x.lng", bytes);
        Load_Default_Language();
        QVERIFY(Read_Lng_File(folder.file("x.lng")));
        QCOMPARE(Msg(12), QStringLiteral("Opzioni ")); // cut at the pilcrow
        QCOMPARE(Msg(13), QStringLiteral("Chiudi"));
        QCOMPARE(Msg(14), QStringLiteral("\u00C0 bient\u00F4t"));
        QCOMPARE(Msg(15), QStringLiteral("end"));
    }

    // Without a mark: valid UTF-8 holding a multi-byte sequence is UTF-8, all else Windows-1252.
    void decodeWithoutMark_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("ascii") << QByteArray("STR0 = Begin") << QStringLiteral("STR0 = Begin");
        QTest::newRow("utf-8") << QByteArray("D\xC3\xA9"
                                             "but \xE2\x82\xAC")
                               << QStringLiteral("D\u00E9but \u20AC");
        QTest::newRow("windows-1252") << QByteArray("D\xE9"
                                                    "but \x80")
                                      << QStringLiteral("D\u00E9but \u20AC");
        QTest::newRow("utf-8 cut short") << QByteArray("D\xC3") << QStringLiteral("D\u00C3");
        QTest::newRow("overlong utf-8") << QByteArray("\xC0\xAF") << QStringLiteral("\u00C0\u00AF");
        QTest::newRow("surrogate in utf-8")
            << QByteArray("\xED\xA0\x80") << QStringLiteral("\u00ED\u00A0\u20AC");
    }
    void decodeWithoutMark()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(Decode_Lng_Bytes(bytes), text);
    }

    void load_language()
    {
        Program_Folder folder;
        Shared.Dir_Language = folder.file("LANGUAGE");
        folder.write("LANGUAGE/Italiano.lng", "STR0 = Inizio\nSTR500 = extra\n");
        folder.write("LANGUAGE/English.lng", "STR0 = Start\n");

        Shared.Language_Name = "Italiano";
        Load_Language();
        QCOMPARE(Shared.Language_Name, QStringLiteral("Italiano"));
        QCOMPARE(Msg(0), QStringLiteral("Inizio"));
        QCOMPARE(Msg(500), QStringLiteral("extra"));
        QCOMPARE(Msg(1), QStringLiteral("Step 1")); // not in the file: built-in

        // A missing language falls back to English.lng and renames the language.
        Shared.Language_Name = "Klingon";
        Load_Language();
        QCOMPARE(Shared.Language_Name, QStringLiteral("English"));
        QCOMPARE(Msg(0), QStringLiteral("Start"));
        QCOMPARE(Msg(500), QStringLiteral(" ")); // nothing survives from the earlier file

        // Without English.lng either, the built-in texts stay.
        QFile::remove(folder.file("LANGUAGE/English.lng"));
        Shared.Language_Name = "Klingon";
        Load_Language();
        QCOMPARE(Shared.Language_Name, QStringLiteral("English"));
        QCOMPARE(Msg(0), QStringLiteral("Begin"));
    }

    void unsafe_language_name()
    {
        Program_Folder folder;
        Shared.Dir_Language = folder.file("LANGUAGE");
        folder.write("secret.lng", "STR0 = Leaked\n");
        folder.write("LANGUAGE/English.lng", "STR0 = Start\n");
        Shared.Language_Name = "../secret";
        Load_Language();
        QCOMPARE(Msg(0), QStringLiteral("Start"));
        QCOMPARE(Shared.Language_Name, QStringLiteral("../secret")); // written back as read
    }
};

QTEST_GUILESS_MAIN(Tst_Language)
#include "tst_language.moc"
