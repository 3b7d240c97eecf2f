#include "app/UComon.h"
#include "configurations/ConfigFolders.h"
#include "language/ULanguage.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QTemporaryDir>
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
        Activate_Configuration(QString());
        // The trash of this test's own home, on the same file system as its folders.
        QDir().mkpath(m_folder->file(QStringLiteral("home/.local/share")));
        qputenv("HOME", QFile::encodeName(m_folder->file(QStringLiteral("home"))));
        qputenv("XDG_DATA_HOME",
                QFile::encodeName(m_folder->file(QStringLiteral("home/.local/share"))));
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


    void sorting_ignores_case_and_keeps_a_fixed_order()
    {
        QStringList names{"beta", "Line 2", "ALPHA", "plant", "Alpha", "PLANT", "line 10"};
        Sort_Configuration_Names(names);
        QCOMPARE(names, (QStringList{"ALPHA", "Alpha", "beta", "line 10", "Line 2", "PLANT",
                                     "plant"}));
    }

    // The copy holds the settings and frames, with an empty bin; what belongs to the device the
    // configuration was sent to, and the program's hidden work files, stay behind.
    void duplicate_copies_the_configuration_without_images_firmware_and_record()
    {
        m_folder->write(QStringLiteral("PROJECTS/Plant/ParGen.xml"), "<Par_Gen/>");
        m_folder->write(QStringLiteral("PROJECTS/Plant/Receive_Frame.xml"), "<R/>");
        m_folder->write(QStringLiteral("PROJECTS/Plant/notes/wiring.txt"), "pins");
        m_folder->write(QStringLiteral("PROJECTS/Plant/bin/bank1.bin"), "b1");
        m_folder->write(QStringLiteral("PROJECTS/Plant/New_sx38591.sx"), "S0");
        m_folder->write(QStringLiteral("PROJECTS/Plant/update-log.csv"), "log");
        m_folder->write(QStringLiteral("PROJECTS/Plant/.ParGen.xml.tmp"), "half");
        m_folder->write(QStringLiteral("elsewhere/secret.txt"), "x");
        QVERIFY(QFile::link(m_folder->file(QStringLiteral("elsewhere")),
                            m_folder->file(QStringLiteral("PROJECTS/Plant/link"))));

        QCOMPARE(Duplicate_Configuration(Shared.Dir_Projects, QStringLiteral("Plant"),
                                         QStringLiteral("Plant 2")),
                 0);
        QCOMPARE(Tree(QStringLiteral("PROJECTS/Plant 2")),
                 (QStringList{"ParGen.xml", "Receive_Frame.xml", "bin/", "notes/",
                              "notes/wiring.txt"}));
        QCOMPARE(m_folder->read(QStringLiteral("PROJECTS/Plant 2/ParGen.xml")),
                 QByteArray("<Par_Gen/>"));
        QCOMPARE(m_folder->read(QStringLiteral("PROJECTS/Plant 2/notes/wiring.txt")),
                 QByteArray("pins"));
        // The original is untouched and no temporary folder is left.
        QCOMPARE(m_folder->read(QStringLiteral("PROJECTS/Plant/bin/bank1.bin")), QByteArray("b1"));
        QCOMPARE(QDir(Shared.Dir_Projects)
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 (QStringList{"Plant", "Plant 2"}));
    }

    // What duplicates killed part-way left goes at the next duplicate; a copy still being made
    // (its lock held) and hidden folders the program did not make stay.
    void duplicate_removes_what_killed_duplicates_left()
    {
        m_folder->write(QStringLiteral("PROJECTS/Plant/ParGen.xml"), "<Par_Gen/>");
        const QDir projects(Shared.Dir_Projects);
        // Named as a duplicate names its folder; killed before it had its lock.
        QTemporaryDir early(projects.filePath(QStringLiteral(".copy-XXXXXX")));
        early.setAutoRemove(false);
        m_folder->write(QStringLiteral("PROJECTS/") + QDir(early.path()).dirName() +
                            QStringLiteral("/ParGen.xml"),
                        "half");
        // Killed while it wrote its lock.
        m_folder->write(QStringLiteral("PROJECTS/.copy-dead02/notes.txt"), "half");
        m_folder->write(QStringLiteral("PROJECTS/.copy-dead02.lock"), "");
        // Killed after the copy was in place, before the lock went.
        m_folder->write(QStringLiteral("PROJECTS/.copy-gone03.lock"), "2147483646\nsw38591\n\n");
        // Another duplicate, still copying.
        m_folder->write(QStringLiteral("PROJECTS/.copy-live04/ParGen.xml"), "half");
        QLockFile live(projects.filePath(QStringLiteral(".copy-live04.lock")));
        QVERIFY(live.tryLock(0));
        m_folder->write(QStringLiteral("PROJECTS/.copy-mine/keep.txt"), "the user's");

        QCOMPARE(Duplicate_Configuration(Shared.Dir_Projects, QStringLiteral("Plant"),
                                         QStringLiteral("Plant 2")),
                 0);
        QCOMPARE(projects.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                    QDir::Name),
                 (QStringList{".copy-live04", ".copy-live04.lock", ".copy-mine", "Plant",
                              "Plant 2"}));
        QCOMPARE(m_folder->read(QStringLiteral("PROJECTS/.copy-live04/ParGen.xml")),
                 QByteArray("half"));
    }

    void duplicate_and_rename_refuse_data()
    {
        QTest::addColumn<bool>("rename");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("message");
        for (const bool rename : {false, true}) {
            const char* op = rename ? "rename" : "duplicate";
            QTest::addRow("%s: empty", op) << rename << QString() << 107;
            QTest::addRow("%s: existing", op) << rename << QStringLiteral("Other") << 106;
            QTest::addRow("%s: separator", op) << rename << QStringLiteral("../Out") << 105;
            QTest::addRow("%s: dot dot", op) << rename << QStringLiteral("..") << 105;
            QTest::addRow("%s: line feed", op) << rename << QStringLiteral("A\nB") << 105;
            // Refused by the file system only when the folder is put in place.
            QTest::addRow("%s: too long", op) << rename << QString(300, QLatin1Char('x')) << 105;
        }
    }
    void duplicate_and_rename_refuse()
    {
        QFETCH(bool, rename);
        QFETCH(QString, name);
        QFETCH(int, message);
        m_folder->write(QStringLiteral("PROJECTS/Plant/ParGen.xml"), "<Par_Gen/>");
        QDir().mkdir(m_folder->file(QStringLiteral("PROJECTS/Other")));
        Activate_Configuration(QStringLiteral("Plant"));
        const QStringList before = Tree(QString());

        const int refusal =
            rename ? Rename_Configuration(Shared.Dir_Projects, QStringLiteral("Plant"), name)
                   : Duplicate_Configuration(Shared.Dir_Projects, QStringLiteral("Plant"), name);
        QCOMPARE(refusal, message);
        QCOMPARE(Tree(QString()), before);
        QCOMPARE(Shared.Conf_Name, QStringLiteral("Plant"));
    }

    void duplicate_or_rename_of_a_missing_configuration_names_its_folder()
    {
        const QString missing = Path_Join(Shared.Dir_Projects, QStringLiteral("Gone"));
        for (const bool rename : {false, true}) {
            try {
                rename ? Rename_Configuration(Shared.Dir_Projects, QStringLiteral("Gone"),
                                              QStringLiteral("New"))
                       : Duplicate_Configuration(Shared.Dir_Projects, QStringLiteral("Gone"),
                                                 QStringLiteral("New"));
                QFAIL("no error");
            } catch (const App_Error& e) {
                QCOMPARE(e.text(), Msg(111) + QDir::toNativeSeparators(missing));
            }
        }
        QVERIFY(!QFileInfo::exists(Path_Join(Shared.Dir_Projects, QStringLiteral("New"))));
    }

    // The active configuration stays active under its new name, and the settings follow.
    void rename_keeps_the_active_configuration_active_data()
    {
        QTest::addColumn<QString>("active");
        QTest::addColumn<QString>("expected");
        QTest::newRow("renamed one active") << QStringLiteral("Plant") << QStringLiteral("Line 7");
        QTest::newRow("other one active") << QStringLiteral("Other") << QStringLiteral("Other");
        QTest::newRow("none active") << QString() << QString();
    }
    void rename_keeps_the_active_configuration_active()
    {
        QFETCH(QString, active);
        QFETCH(QString, expected);
        m_folder->write(QStringLiteral("PROJECTS/Plant/ParGen.xml"), "<Par_Gen/>");
        QDir().mkdir(m_folder->file(QStringLiteral("PROJECTS/Other")));
        Activate_Configuration(active);

        QCOMPARE(Rename_Configuration(Shared.Dir_Projects, QStringLiteral("Plant"),
                                      QStringLiteral("Line 7")),
                 0);
        QCOMPARE(m_folder->read(QStringLiteral("PROJECTS/Line 7/ParGen.xml")),
                 QByteArray("<Par_Gen/>"));
        QVERIFY(!QFileInfo::exists(m_folder->file(QStringLiteral("PROJECTS/Plant"))));
        QCOMPARE(Shared.Conf_Name, expected);
        QCOMPARE(Shared.Conf_Dir,
                 expected.isEmpty() ? QString() : Path_Join(Shared.Dir_Projects, expected));
        QCOMPARE(Shared.File_ParGen, Path_Join(Shared.Conf_Dir, QStringLiteral("ParGen.xml")));
    }

    // On a file system that tells letter cases apart, PLANT is another name; where it ignores
    // them, PLANT is the same folder: a copy is refused, a rename changes the case.
    void names_in_other_case_follow_the_file_system()
    {
        QDir().mkdir(m_folder->file(QStringLiteral("PROJECTS/Plant")));
        const bool ignoresCase = QFileInfo(m_folder->file(QStringLiteral("PROJECTS/PLANT"))).isDir();
        QCOMPARE(Duplicate_Configuration(Shared.Dir_Projects, QStringLiteral("Plant"),
                                         QStringLiteral("PLANT")),
                 ignoresCase ? 106 : 0);
        if (!ignoresCase) {
            QCOMPARE(Rename_Configuration(Shared.Dir_Projects, QStringLiteral("Plant"),
                                          QStringLiteral("plant")),
                     0);
            QCOMPARE(Rename_Configuration(Shared.Dir_Projects, QStringLiteral("plant"),
                                          QStringLiteral("PLANT")),
                     106);
        } else {
            QCOMPARE(Rename_Configuration(Shared.Dir_Projects, QStringLiteral("Plant"),
                                          QStringLiteral("PLANT")),
                     0);
        }
        QStringList names = Configuration_Folders(Shared.Dir_Projects);
        Sort_Configuration_Names(names);
        QCOMPARE(names, ignoresCase ? QStringList{"PLANT"} : QStringList({"PLANT", "plant"}));
    }

    void delete_moves_to_the_trash_and_closes_the_active_one_data()
    {
        QTest::addColumn<bool>("activeOne");
        QTest::newRow("active") << true;
        QTest::newRow("not active") << false;
    }
    void delete_moves_to_the_trash_and_closes_the_active_one()
    {
        QFETCH(bool, activeOne);
        m_folder->write(QStringLiteral("PROJECTS/Plant/ParGen.xml"), "<Par_Gen/>");
        QDir().mkdir(m_folder->file(QStringLiteral("PROJECTS/Other")));
        Activate_Configuration(activeOne ? QStringLiteral("Plant") : QStringLiteral("Other"));

        QVERIFY(Delete_Configuration(Shared.Dir_Projects, QStringLiteral("Plant")));
        QCOMPARE(Configuration_Folders(Shared.Dir_Projects), QStringList{"Other"});
        QCOMPARE(m_folder->read(QStringLiteral("home/.local/share/Trash/files/Plant/ParGen.xml")),
                 QByteArray("<Par_Gen/>"));
        QCOMPARE(Shared.Conf_Name, activeOne ? QString() : QStringLiteral("Other"));
        QCOMPARE(Shared.Conf_Dir.isEmpty(), activeOne);
    }

    // A link goes, never what it leads to: in the trash and when removed at once.
    void delete_spares_what_a_link_leads_to_data()
    {
        QTest::addColumn<bool>("toTrash");
        QTest::newRow("to the trash") << true;
        QTest::newRow("removed") << false;
    }
    void delete_spares_what_a_link_leads_to()
    {
        QFETCH(bool, toTrash);
        m_folder->write(QStringLiteral("PROJECTS/Alpha/ParGen.xml"), "<Par_Gen/>");
        QVERIFY(QFile::link(QStringLiteral("Alpha"), m_folder->file(QStringLiteral("PROJECTS/Same"))));
        m_folder->write(QStringLiteral("PROJECTS/Plant/bin/bank1.bin"), "b1");

        QCOMPARE(Delete_Configuration(Shared.Dir_Projects, QStringLiteral("Same"), toTrash), toTrash);
        QCOMPARE(Delete_Configuration(Shared.Dir_Projects, QStringLiteral("Plant"), toTrash), toTrash);
        QCOMPARE(Configuration_Folders(Shared.Dir_Projects), QStringList{"Alpha"});
        QCOMPARE(m_folder->read(QStringLiteral("PROJECTS/Alpha/ParGen.xml")),
                 QByteArray("<Par_Gen/>"));
        QCOMPARE(QFileInfo(m_folder->file(QStringLiteral("home/.local/share/Trash/files/Same")))
                     .isSymLink(),
                 toTrash);
    }

    void delete_refuses_what_is_no_configuration_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("missing") << QStringLiteral("Gone");
        QTest::newRow("empty") << QString();
        QTest::newRow("dot dot") << QStringLiteral("..");
        QTest::newRow("a file") << QStringLiteral("notes.txt");
    }
    void delete_refuses_what_is_no_configuration()
    {
        QFETCH(QString, name);
        m_folder->write(QStringLiteral("PROJECTS/notes.txt"), "x");
        const QStringList before = Tree(QString());
        QVERIFY_THROWS_EXCEPTION(App_Error, Delete_Configuration(Shared.Dir_Projects, name));
        QCOMPARE(Tree(QString()), before);
    }

private:
    // Entries below `relative`, folders with a trailing slash, sorted; the test's home left out.
    QStringList Tree(const QString& relative) const
    {
        const QString root = m_folder->file(relative);
        QStringList out;
        QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo info(it.next());
            const QString rel = QDir(root).relativeFilePath(info.filePath());
            if (!rel.startsWith(QLatin1String("home")))
                out.append(rel + (info.isDir() && !info.isSymLink() ? QStringLiteral("/") : QString()));
        }
        out.sort();
        return out;
    }

    std::unique_ptr<Program_Folder> m_folder;
};

QTEST_GUILESS_MAIN(Tst_ConfigFolders)
#include "tst_configfolders.moc"
