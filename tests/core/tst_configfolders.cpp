#include "app/UComon.h"
#include "configurations/ConfigFolders.h"
#include "language/ULanguage.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

class Tst_ConfigFolders final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Load_Default_Language(); }
    void init()
    {
        m_folder.reset(new Program_Folder);
        Shared.Dir_Projects = m_folder->file(QStringLiteral("PROJECTS"));
        QDir().mkdir(Shared.Dir_Projects);
    }

    void create_refuses_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("message");
        QTest::newRow("empty") << QString() << 107;
        QTest::newRow("existing") << QStringLiteral("Old") << 106;
        QTest::newRow("slash") << QStringLiteral("../escape") << 105;
        QTest::newRow("backslash") << QStringLiteral("a\\b") << 105;
        QTest::newRow("dot") << QStringLiteral(".") << 105;
        QTest::newRow("dot dot") << QStringLiteral("..") << 105;
        QTest::newRow("nul") << QStringLiteral("ab") + QChar(0) + QStringLiteral("cd") << 105;
        QTest::newRow("too long") << QString(300, QLatin1Char('x')) << 105;
        // Names the settings file could not give back as they are.
        QTest::newRow("control character") << QStringLiteral("A\x01" "B") << 105;
        QTest::newRow("carriage return") << QStringLiteral("A\rB") << 105;
        QTest::newRow("line feed") << QStringLiteral("A\nB") << 105;
        QTest::newRow("lone surrogate") << QStringLiteral("A") + QChar(0xD800) << 105;
    }
    void create_refuses()
    {
        QFETCH(QString, name);
        QFETCH(int, message);
        QDir(Shared.Dir_Projects).mkdir(QStringLiteral("Old"));
        const QStringList before =
            QDir(m_folder->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

        QCOMPARE(Create_Configuration_Folder(Shared.Dir_Projects, name), message);

        QCOMPARE(QDir(Shared.Dir_Projects).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("Old")});
        QCOMPARE(QDir(m_folder->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
        QVERIFY(!QFileInfo::exists(m_folder->file(QStringLiteral("PROJECTS/Old/bin"))));
    }

    void create_existing_in_other_case_follows_the_file_system()
    {
        QDir(Shared.Dir_Projects).mkdir(QStringLiteral("Line 1"));
        const bool ignoresCase =
            QFileInfo(m_folder->file(QStringLiteral("PROJECTS/LINE 1"))).isDir();
        QCOMPARE(Create_Configuration_Folder(Shared.Dir_Projects, QStringLiteral("LINE 1")),
                 ignoresCase ? 106 : 0);
    }

    void create_makes_the_folder_with_bin_and_activate_sets_the_paths()
    {
        QCOMPARE(Create_Configuration_Folder(Shared.Dir_Projects, QStringLiteral("Line 1")), 0);
        QVERIFY(QFileInfo(m_folder->file(QStringLiteral("PROJECTS/Line 1/bin"))).isDir());
        QCOMPARE(QDir(m_folder->file(QStringLiteral("PROJECTS/Line 1/bin"))).isEmpty(), true);

        QVERIFY(Activate_Configuration(QStringLiteral("Line 1")));
        const QString dir = Shared.Dir_Projects + QStringLiteral("/Line 1");
        QCOMPARE(Shared.Conf_Name, QStringLiteral("Line 1"));
        QCOMPARE(Shared.Conf_Dir, dir);
        QCOMPARE(Shared.File_ParGen, dir + QStringLiteral("/ParGen.xml"));
        QCOMPARE(Shared.File_Receive_Frame, dir + QStringLiteral("/Receive_Frame.xml"));
        QCOMPARE(Shared.File_Send_Frame, dir + QStringLiteral("/Send_Frame.xml"));
        QCOMPARE(Active_Configuration_Name(), QStringLiteral("Line 1"));

        QVERIFY(!Activate_Configuration(QString()));
        QVERIFY(Shared.Conf_Dir.isEmpty());
        QVERIFY(Active_Configuration_Name().isEmpty());
    }

    void listing_holds_folders_only()
    {
        QDir projects(Shared.Dir_Projects);
        projects.mkdir(QStringLiteral("Alpha"));
        projects.mkdir(QStringLiteral("PLANT"));
        projects.mkdir(QStringLiteral(".hidden"));
        m_folder->write(QStringLiteral("PROJECTS/notes.txt"), "x");
        m_folder->write(QStringLiteral("PROJECTS/Beta.xml"), "x");
        QStringList names = Configuration_Folders(Shared.Dir_Projects);
        names.sort();
        QCOMPARE(names, (QStringList{QStringLiteral("Alpha"), QStringLiteral("PLANT")}));
        QVERIFY(Configuration_Folders(m_folder->file(QStringLiteral("missing"))).isEmpty());
    }

    // A link that leads outside PROJECTS would let a "configuration" be written anywhere.
    void listing_leaves_out_links_leading_outside()
    {
        QDir projects(Shared.Dir_Projects);
        projects.mkdir(QStringLiteral("Alpha"));
        QDir().mkdir(m_folder->file(QStringLiteral("elsewhere")));
        QVERIFY(QFile::link(m_folder->file(QStringLiteral("elsewhere")),
                            m_folder->file(QStringLiteral("PROJECTS/Out"))));
        QVERIFY(QFile::link(QStringLiteral("/"), m_folder->file(QStringLiteral("PROJECTS/Root"))));
        QVERIFY(QFile::link(QStringLiteral("Alpha"), m_folder->file(QStringLiteral("PROJECTS/Same"))));
        QStringList names = Configuration_Folders(Shared.Dir_Projects);
        names.sort();
        QCOMPARE(names, (QStringList{QStringLiteral("Alpha"), QStringLiteral("Same")}));
    }

    void create_without_projects_folder_names_it()
    {
        const QString missing = m_folder->file(QStringLiteral("GONE"));
        const int refusal = Create_Configuration_Folder(missing, QStringLiteral("Line 1"));
        QCOMPARE(refusal, Missing_Projects_Folder);
        QVERIFY(!QFileInfo::exists(missing));
        const QString text = Refusal_Text(refusal, missing);
        QVERIFY2(text.startsWith(Msg(Missing_Projects_Folder))
                     && text.endsWith(QDir::toNativeSeparators(missing)),
                 qPrintable(text));
        QCOMPARE(Refusal_Text(105, missing), Msg(105));
    }

    // The exact name wins over one in other letter case, wherever it stands.
    void search_prefers_the_exact_name_data()
    {
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("index");
        QTest::newRow("exact after other case")
            << QStringList{"PLANT", "plant"} << QStringLiteral("plant") << 1;
        QTest::newRow("exact before other case")
            << QStringList{"plant", "PLANT"} << QStringLiteral("plant") << 0;
        QTest::newRow("other case only") << QStringList{"Alpha", "PLANT"} << QStringLiteral("plant") << 1;
        QTest::newRow("none") << QStringList{"Alpha"} << QStringLiteral("plant") << -1;
    }
    void search_prefers_the_exact_name()
    {
        QFETCH(QStringList, list);
        QFETCH(QString, name);
        QFETCH(int, index);
        QCOMPARE(Search_Configuration(list, name), index);
    }

    void search_ignores_the_case_of_a_to_z_only_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("index");
        QTest::newRow("other case") << QStringLiteral("plant") << 1;
        QTest::newRow("exact") << QStringLiteral("Alpha") << 0;
        QTest::newRow("first of two") << QStringLiteral("ALPHA") << 0;
        QTest::newRow("accented letters keep their case") << QStringLiteral("ÉTÉ") << -1;
        QTest::newRow("prefix only") << QStringLiteral("Alp") << -1;
        QTest::newRow("empty") << QString() << -1;
    }
    void search_ignores_the_case_of_a_to_z_only()
    {
        QFETCH(QString, name);
        QFETCH(int, index);
        const QStringList list{QStringLiteral("Alpha"), QStringLiteral("PLANT"),
                               QStringLiteral("alpha"), QStringLiteral("été")};
        QCOMPARE(Search_Name_Ignoring_Case(list, name), index);
    }

private:
    std::unique_ptr<Program_Folder> m_folder;
};

QTEST_GUILESS_MAIN(Tst_ConfigFolders)
#include "tst_configfolders.moc"
