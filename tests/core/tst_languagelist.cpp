#include "options/LanguageList.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QtTest>

class tst_languagelist : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void listsOnlyWritableLngFilesIgnoringCase()
    {
        Program_Folder folder;
        for (const char* name : {"Italiano.lng", "english.lng", ".Hidden.lng", "Deutsch.lng.bak",
                                 "Notes.txt", "Upper.LNG", "Locked.lng"})
            folder.write(QString::fromLatin1(name), "STR0 = x\r\n");
        QDir(folder.path()).mkdir(QStringLiteral("Folder.lng"));
        QVERIFY(QFile::setPermissions(folder.file(QStringLiteral("Locked.lng")),
                                      QFileDevice::ReadOwner | QFileDevice::ReadGroup |
                                          QFileDevice::ReadOther));

        QCOMPARE(List_Language_Files(folder.path()),
                 (QStringList{".Hidden.lng", "english.lng", "Italiano.lng"}));
        QCOMPARE(List_Language_Files(folder.file(QStringLiteral("missing"))), QStringList());
    }

    void pages_data()
    {
        QTest::addColumn<int>("languages");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QList<int>>("perPage"); // pages 1 .. pages + 1
        QTest::newRow("none") << 0 << 0 << QList<int>{0};
        QTest::newRow("one") << 1 << 1 << QList<int>{1, 0};
        QTest::newRow("six") << 6 << 1 << QList<int>{6, 0};
        QTest::newRow("seven") << 7 << 2 << QList<int>{6, 1, 0};
        QTest::newRow("thirteen") << 13 << 3 << QList<int>{6, 6, 1, 0};
    }
    void pages()
    {
        QFETCH(int, languages);
        QFETCH(int, pages);
        QFETCH(QList<int>, perPage);
        QCOMPARE(Language_Page_Count(languages), pages);
        for (int p = 0; p < perPage.size(); ++p)
            QCOMPARE(Languages_On_Page(languages, p + 1), perPage.at(p));
    }

    void languageName()
    {
        QCOMPARE(Language_Of_File(QStringLiteral("Français.lng")), QStringLiteral("Français"));
        QCOMPARE(Language_Of_File(QStringLiteral("english.lng")), QStringLiteral("english"));
    }

    void flagFallbacks()
    {
        Program_Folder folder;
        const QString dir = folder.path();
        QCOMPARE(Flag_Picture_Path(dir, QStringLiteral("Italiano")), QString());
        folder.write(QStringLiteral("DefaultFlag.bmp"), "BM");
        QCOMPARE(Flag_Picture_Path(dir, QStringLiteral("Italiano")),
                 folder.file(QStringLiteral("DefaultFlag.bmp")));
        folder.write(QStringLiteral("Italiano.bmp"), "BM");
        QCOMPARE(Flag_Picture_Path(dir, QStringLiteral("Italiano")),
                 folder.file(QStringLiteral("Italiano.bmp")));
        // The picture is looked up by the language's own name, letter case included.
        QCOMPARE(Flag_Picture_Path(dir, QStringLiteral("italiano")),
                 folder.file(QStringLiteral("DefaultFlag.bmp")));
    }
};

QTEST_GUILESS_MAIN(tst_languagelist)
#include "tst_languagelist.moc"
