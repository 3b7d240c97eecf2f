#include "app/LocalSettings.h"
#include "support/TestSupport.h"

#include <QTest>

class tst_localsettings final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void sizes_round_trip()
    {
        Program_Folder folder;
        const Local_Settings s(folder.path());
        QCOMPARE(s.Window_Size(QStringLiteral("Receive")), QSize());
        s.Set_Window_Size(QStringLiteral("Receive"), QSize(1020, 410));
        s.Set_Window_Size(QStringLiteral("Send"), QSize(900, 380));
        // Another run reads what this one wrote, each window its own.
        const Local_Settings next(folder.path());
        QCOMPARE(next.Window_Size(QStringLiteral("Receive")), QSize(1020, 410));
        QCOMPARE(next.Window_Size(QStringLiteral("Send")), QSize(900, 380));
        QVERIFY(QFileInfo::exists(folder.file(Local_Settings::File_Name())));
    }

    void unusable_stored_sizes_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("no x") << QByteArray("Receive=1020");
        QTest::newRow("letters") << QByteArray("Receive=wide x 400");
        QTest::newRow("zero") << QByteArray("Receive=0x400");
        QTest::newRow("negative") << QByteArray("Receive=-5x400");
        QTest::newRow("huge") << QByteArray("Receive=99999x400");
        QTest::newRow("three parts") << QByteArray("Receive=10x20x30");
    }
    void unusable_stored_sizes()
    {
        QFETCH(QByteArray, line);
        Program_Folder folder;
        folder.write(Local_Settings::File_Name(), "[Window_Size]\n" + line + "\n");
        QCOMPARE(Local_Settings(folder.path()).Window_Size(QStringLiteral("Receive")), QSize());
    }

    // Without a program folder nothing is written anywhere.
    void no_program_folder_writes_nothing()
    {
        Program_Folder folder;
        const QString before = QDir::currentPath();
        QDir::setCurrent(folder.path());
        const Local_Settings s{QString()};
        s.Set_Window_Size(QStringLiteral("Receive"), QSize(10, 10));
        QCOMPARE(s.Window_Size(QStringLiteral("Receive")), QSize());
        QCOMPARE(QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList{});
        QDir::setCurrent(before);
    }
};

QTEST_GUILESS_MAIN(tst_localsettings)
#include "tst_localsettings.moc"
