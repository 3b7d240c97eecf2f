#include "app/Launcher.h"
#include "app/UComon.h"
#include "compiler/ConfigImage.h"
#include "language/ULanguage.h"
#include "support/FakeUi.h"
#include "support/SyntheticFirmware.h"
#include "support/TestSupport.h"
#include "app/LocalSettings.h"
#include "update/ComPorts.h"
#include "update/ModifyFileSx.h"
#include "update/UpdateLog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QScreen>
#include <QtTest>

namespace {

// Records the starts instead of starting anything.
class Recording_Launcher final : public Process_Launcher {
public:
    Recording_Launcher() { Set_Launcher(this); }
    ~Recording_Launcher() override { Set_Launcher(nullptr); }
    Start_Result Start_Detached(const QString& program, const QStringList& args,
                                const QString&) override
    {
        starts.append(QStringList{program} + args);
        return {true, {}};
    }
    Wait_Result Start_And_Wait(const QString&, const QStringList&, const QString&, int,
                               const std::function<void()>&) override
    {
        return {};
    }
    QList<QStringList> starts;
};

// The serial ports this computer is said to have.
class Fake_Ports final : public Serial_Port_Lister {
public:
    explicit Fake_Ports(QStringList present) : names(std::move(present))
    {
        Set_Serial_Port_Lister(this);
    }
    ~Fake_Ports() override { Set_Serial_Port_Lister(nullptr); }
    QStringList Port_Names() const override { return names; }
    QStringList names;
};

QStringList Items(QComboBox* c)
{
    QStringList l;
    for (int i = 0; i < c->count(); ++i)
        l.append(c->itemText(i));
    return l;
}

// The program folder of a device without Ethernet port, with the firmware and the images of
// configuration A, and a flash tool that writes its folder and arguments into flash.log.
struct Window_Fixture : Compose_Folder {
    QString log = root.filePath(QStringLiteral("flash.log"));
    QString tool = root.filePath(QStringLiteral("FlashWrite.exe"));
    Fake_Ui ui;

    Window_Fixture()
    {
        Reset_Shared();
        Load_Default_Language();
        Shared.Dir_Program = root.path();
        Shared.Dir_Master = master;
        Shared.Dir_Projects = root.filePath(QStringLiteral("PROJECTS"));
        Shared.Conf_Name = QStringLiteral("A");
        Shared.Conf_Dir = conf;
        Write(firmware, Join_Lines(Synthetic_Firmware()));
        Write(tool, "#!/bin/sh\n{ pwd; for a in \"$@\"; do echo \"$a\"; done; } > '" +
                        log.toUtf8() + ".tmp'\nmv '" + log.toUtf8() + ".tmp' '" + log.toUtf8() +
                        "'\n");
        QFile::setPermissions(tool, QFile::permissions(tool) | QFile::ExeOwner);
        // As the update step leaves it: the images compiled in this run are the files' ones.
        Reset_Config_Image();
        std::copy(bank1.begin(), bank1.end(), Config_Image.Bank1_Area.begin());
        std::copy(bank2.begin(), bank2.end(), Config_Image.Bank2_Buffer.begin());
        Config_Image.Bank2_Length = int(bank2.size());
    }
    ~Window_Fixture() { QDir::setCurrent(QDir::tempPath()); }
};

template <typename T> T* Child(QWidget& w, const char* name)
{
    T* c = w.findChild<T*>(QLatin1String(name));
    if (!c)
        qFatal("no control %s", name);
    return c;
}

} // namespace

class tst_ModifyFileSx final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void opening();
    void openingErrors_data();
    void openingErrors();
    void flashesTheComposedFirmware();
    void noStartAfterAStop_data();
    void noStartAfterAStop();
    void swappedImageIsNotFlashed_data();
    void swappedImageIsNotFlashed();
    void launchProblems_data();
    void launchProblems();
    void presentPortsMarked_data();
    void presentPortsMarked();
    void portUsedLastIsPreselected_data();
    void portUsedLastIsPreselected();

    void recordsEachStartOfTheTool();
    void unwritableRecordReported_data();
    void unwritableRecordReported();
};

void tst_ModifyFileSx::opening()
{
    Window_Fixture f;
    TFModifyFileSx w;
    auto* cbport = Child<QComboBox>(w, "cbport");
    auto* bar = Child<QProgressBar>(w, "Avanzamento");
    auto* execute = Child<QPushButton>(w, "LbButton2");

    // What the previous opening left must not survive the next one.
    w.show();
    cbport->setCurrentIndex(4);
    bar->setValue(40);
    Child<QCheckBox>(w, "Cbbank3")->setVisible(true);
    w.hide();
    QDir::setCurrent(QDir::tempPath());
    w.show();

    QCOMPARE(w.windowTitle(), QStringLiteral("Generate Firmware"));
    QVERIFY((w.windowFlags() & Qt::WindowType_Mask) == Qt::Tool);
    QVERIFY(!(w.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint)));
    QCOMPARE(w.size(), QSize(430, 224));
    const QRect screen = w.screen()->geometry();
    QCOMPARE(w.pos(), QPoint(screen.width() / 2 - 215, screen.height() / 2 - 224));

    QStringList ports;
    for (int i = 0; i < cbport->count(); ++i)
        ports.append(cbport->itemText(i));
    QCOMPARE(ports, (QStringList{"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8"}));
    QCOMPARE(cbport->currentIndex(), 0);
    QCOMPARE(bar->value(), 0);
    QVERIFY(execute->isEnabled());
    QCOMPARE(execute->text(), QStringLiteral("Execute update firmware"));
    QCOMPARE(Child<QPushButton>(w, "LbButton1")->text(), QStringLiteral("X"));
    QVERIFY(Child<QGroupBox>(w, "GbBank")->isHidden());
    for (const char* name : {"Cbbank1", "Cbbank2"}) {
        QVERIFY(!Child<QCheckBox>(w, name)->isHidden());
        QVERIFY(Child<QCheckBox>(w, name)->isChecked());
    }
    for (const char* name : {"Cbbank3", "Cbbank4", "Cbbank5"})
        QVERIFY(Child<QCheckBox>(w, name)->isHidden());

    QCOMPARE(QDir::currentPath(), QDir(f.master).canonicalPath());
    QCOMPARE(w.NomeDirBin, f.bin + QLatin1Char('/'));
    QCOMPARE(w.NomeDirSxNew, f.conf + QLatin1Char('/'));
    QCOMPARE(w.NomeFileSxNew, QStringLiteral("New_sx38591.sx"));
    QCOMPARE(f.ui.texts(), QStringList());

    QVERIFY(w.grab().save(Screenshot_Path(QStringLiteral("ModifyFileSx.png"))));
    QTest::mouseClick(Child<QPushButton>(w, "LbButton1"), Qt::LeftButton);
    QVERIFY(!w.isVisible());
}

void tst_ModifyFileSx::openingErrors_data()
{
    QTest::addColumn<int>("missing");
    QTest::addColumn<QString>("message");
    const QString noFolder =
        QStringLiteral("Error! Firmware Directory not Found! Please reinstall the software.");
    QTest::newRow("no firmware folder set") << 0 << noFolder;
    QTest::newRow("firmware folder gone") << 1 << noFolder;
    QTest::newRow("firmware file gone")
        << 2 << QStringLiteral("Error! Firmware File not Found! Please reinstall the software.");
}

void tst_ModifyFileSx::openingErrors()
{
    QFETCH(int, missing);
    QFETCH(QString, message);
    Window_Fixture f;
    if (missing == 0)
        Shared.Dir_Master.clear();
    else if (missing == 1)
        QVERIFY(QDir(f.master).removeRecursively());
    else
        QVERIFY(QFile::remove(f.firmware));
    TFModifyFileSx w;

    w.show();

    QCOMPARE(f.ui.boxes.size(), 1);
    QCOMPARE(f.ui.boxes[0].kind, Fake_Ui::Kind::Error);
    QCOMPARE(f.ui.boxes[0].text, message);
    QVERIFY(!Child<QPushButton>(w, "LbButton2")->isEnabled());
}

void tst_ModifyFileSx::flashesTheComposedFirmware()
{
    Window_Fixture f;
    TFModifyFileSx w;
    w.show();
    auto* cbport = Child<QComboBox>(w, "cbport");
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(cbport, Qt::Key_Down);
    QCOMPARE(cbport->currentText(), QStringLiteral("COM4"));

    QTest::mouseClick(Child<QPushButton>(w, "LbButton2"), Qt::LeftButton);

    QCOMPARE(f.ui.texts(), QStringList());
    const QByteArrayList fw = Synthetic_Firmware();
    QCOMPARE(Read_All(f.result),
             f.Expected({fw[0], fw[1], fw[2], fw[3], "BANK1", fw[6], "BANK2", fw[9], fw[10]}));
    QCOMPARE(f.Leftovers(), QStringList());
    auto* bar = Child<QProgressBar>(w, "Avanzamento");
    QCOMPARE(bar->value(), bar->maximum());
    QVERIFY(bar->maximum() > 512);
    QVERIFY(w.grab().save(Screenshot_Path(QStringLiteral("ModifyFileSx_done.png"))));

    QTRY_VERIFY(QFile::exists(f.log));
    const QStringList recorded = QString::fromUtf8(Read_All(f.log)).split(QLatin1Char('\n'));
    QCOMPARE(recorded,
             (QStringList{QDir(f.master).canonicalPath(), QDir::toNativeSeparators(f.result),
                          QStringLiteral("3"), QString()}));
}

void tst_ModifyFileSx::noStartAfterAStop_data()
{
    QTest::addColumn<QByteArray>("firmware");
    QTest::addColumn<bool>("otherConfiguration");
    QTest::addColumn<QStringList>("messages");

    const QByteArrayList fw = Synthetic_Firmware();
    QTest::newRow("firmware without S9")
        << Join_Lines(fw.mid(0, fw.size() - 1)) << false
        << QStringList{
               QStringLiteral("No S9 Record in sx38591.sx, No File Created,Abort Procedure")};
    QTest::newRow("bank 1's window after S9")
        << Join_Lines({fw[0], fw.last(), fw[4], fw[7]}) << false
        << QStringList{
               QStringLiteral("Address Window of bank1.bin After End Record S9,Abort Procedure")};
    QTest::newRow("record running into bank 1's window")
        << Join_Lines({S2_Line(0x387FF0), fw[4], fw[7], fw.last()}) << false
        << QStringList{QStringLiteral("Check of New_sx38591.sx Failed (address 0x388000 is given "
                                      "twice (lines 1 and 2)),Abort Procedure")};
    QTest::newRow("nothing in bank 2's window")
        << Join_Lines({fw[4], fw.last()}) << false
        << QStringList{QStringLiteral("Address Window of bank2.bin Not Found,Abort Procedure")};
    // The images of configuration A must not go into configuration B's firmware.
    QTest::newRow("configuration without bin folder")
        << Join_Lines(fw) << true
        << QStringList{QStringLiteral("Directory Bin Not Found,Abort Procedure")};
}

void tst_ModifyFileSx::noStartAfterAStop()
{
    QFETCH(QByteArray, firmware);
    QFETCH(bool, otherConfiguration);
    QFETCH(QStringList, messages);
    Window_Fixture f;
    Recording_Launcher launcher;
    Compose_Folder::Write(f.firmware, firmware);
    TFModifyFileSx w;
    QString result = f.result;
    if (otherConfiguration) {
        w.show();
        w.hide();
        Shared.Conf_Dir = f.root.filePath(QStringLiteral("PROJECTS/B"));
        QVERIFY(QDir().mkpath(Shared.Conf_Dir));
        result = Shared.Conf_Dir + QStringLiteral("/New_sx38591.sx");
    }
    Compose_Folder::Write(result, "an earlier result");
    w.show();

    QTest::mouseClick(Child<QPushButton>(w, "LbButton2"), Qt::LeftButton);

    QCOMPARE(f.ui.texts(), messages);
    for (const Fake_Ui::Box& b : f.ui.boxes)
        QCOMPARE(b.kind, Fake_Ui::Kind::Info);
    QCOMPARE(launcher.starts, QList<QStringList>());
    QCOMPARE(Read_All(result), QByteArray("an earlier result"));
    QCOMPARE(f.Leftovers(), QStringList());
    // No full bar for a result that was not made.
    QCOMPARE(Child<QProgressBar>(w, "Avanzamento")->value(), 0);
}

void tst_ModifyFileSx::swappedImageIsNotFlashed_data()
{
    QTest::addColumn<QString>("image");
    QTest::addColumn<QString>("message");
    QTest::newRow("bank1.bin replaced on disk")
        << "bank1.bin"
        << "File bank1.bin Changed Since This Update Wrote It,Abort Procedure";
    QTest::newRow("bank2.bin replaced on disk")
        << "bank2.bin"
        << "File bank2.bin Changed Since This Update Wrote It,Abort Procedure";
    QTest::newRow("no compilation in this run")
        << QString() << "No Configuration Compiled,Abort Procedure";
}

void tst_ModifyFileSx::swappedImageIsNotFlashed()
{
    QFETCH(QString, image);
    QFETCH(QString, message);
    Window_Fixture f;
    Recording_Launcher launcher;
    if (image.isEmpty())
        Reset_Config_Image();
    else
        Compose_Folder::Write(f.bin + QLatin1Char('/') + image, Pattern_Image(18432, 5));
    Compose_Folder::Write(f.result, "an earlier result");
    TFModifyFileSx w;
    w.show();

    QTest::mouseClick(Child<QPushButton>(w, "LbButton2"), Qt::LeftButton);

    QCOMPARE(f.ui.texts(), QStringList{message});
    QCOMPARE(launcher.starts, QList<QStringList>());
    QCOMPARE(Read_All(f.result), QByteArray("an earlier result"));
}

void tst_ModifyFileSx::launchProblems_data()
{
    QTest::addColumn<bool>("toolPresent");
    QTest::newRow("tool missing") << false;
    QTest::newRow("tool cannot be started") << true;
}

void tst_ModifyFileSx::launchProblems()
{
    QFETCH(bool, toolPresent);
    Window_Fixture f;
    if (toolPresent)
        QVERIFY(QFile::setPermissions(f.tool, QFile::ReadOwner | QFile::WriteOwner));
    else
        QVERIFY(QFile::remove(f.tool));
    TFModifyFileSx w;
    w.show();

    QTest::mouseClick(Child<QPushButton>(w, "LbButton2"), Qt::LeftButton);

    QVERIFY(QFile::exists(f.result));
    QCOMPARE(f.ui.boxes.size(), 1);
    if (toolPresent) {
        QCOMPARE(f.ui.boxes[0].kind, Fake_Ui::Kind::Error);
        const QString start =
            QStringLiteral("Cannot start the program ") + QDir::toNativeSeparators(f.tool) + ": ";
        QVERIFY2(f.ui.boxes[0].text.startsWith(start), qPrintable(f.ui.boxes[0].text));
        QVERIFY(f.ui.boxes[0].text.size() > start.size());
    } else {
        QCOMPARE(f.ui.boxes[0].kind, Fake_Ui::Kind::Info);
        QCOMPARE(f.ui.boxes[0].text, QStringLiteral("FlashWrite.exe Not Found, Procedure Aborted"));
    }
    QTest::qWait(200);
    QVERIFY(!QFile::exists(f.log));
    // Nothing was handed over.
    QVERIFY(!QFile::exists(Path_Join(f.conf, Update_Log_Name)));
}

void tst_ModifyFileSx::recordsEachStartOfTheTool()
{
    Window_Fixture f;
    TFModifyFileSx w;
    w.show();
    const QString log = Path_Join(f.conf, Update_Log_Name);
    QTest::keyClick(Child<QComboBox>(w, "cbport"), Qt::Key_Down);
    QTest::mouseClick(Child<QPushButton>(w, "LbButton2"), Qt::LeftButton);
    QTRY_VERIFY(QFile::exists(f.log));
    const QByteArray first = Read_All(log);
    const QByteArray handedOver = Read_All(f.result);
    QFile::remove(f.log);
    QTest::keyClick(Child<QComboBox>(w, "cbport"), Qt::Key_Down);
    QTest::mouseClick(Child<QPushButton>(w, "LbButton2"), Qt::LeftButton);
    QTRY_VERIFY(QFile::exists(f.log));

    QCOMPARE(f.ui.texts(), QStringList());
    const QByteArray both = Read_All(log);
    QVERIFY(!first.isEmpty());
    QVERIFY(both.startsWith(first));
    const QList<QStringList> records = Split_Csv(both);
    QCOMPARE(records.size(), 3);
    QCOMPARE(records[0].size(), 12);
    QCOMPARE(records[0].first(), QStringLiteral("time"));
    const QString sha = QString::fromLatin1(
        QCryptographicHash::hash(handedOver, QCryptographicHash::Sha256).toHex());
    for (int i = 1; i <= 2; ++i) {
        const QStringList& r = records[i];
        QCOMPARE(r.size(), 12);
        const QDateTime when = QDateTime::fromString(r[0], Qt::ISODate);
        QVERIFY2(when.isValid() && qAbs(when.secsTo(QDateTime::currentDateTime())) < 60,
                 qPrintable(r[0]));
        QCOMPARE(r.mid(1, 7),
                 (QStringList{QStringLiteral("serial"), QStringLiteral("COM%1").arg(i + 1),
                              QStringLiteral("Bank1 + Bank2"), QDir::toNativeSeparators(f.result),
                              QString::number(handedOver.size()), sha, QString()}));
        QCOMPARE(r.mid(10), (QStringList{QStringLiteral("started"), SW_Version_Text}));
    }
}

void tst_ModifyFileSx::unwritableRecordReported_data()
{
    QTest::addColumn<bool>("folder"); // a folder in the record's place, else a read-only file
    QTest::newRow("read-only file") << false;
    QTest::newRow("folder in its place") << true;
}

// The flash tool is started all the same; the box names the file.
void tst_ModifyFileSx::unwritableRecordReported()
{
    QFETCH(bool, folder);
    Window_Fixture f;
    const QString log = Path_Join(f.conf, Update_Log_Name);
    if (folder) {
        QVERIFY(QDir().mkpath(log));
    } else {
        Compose_Folder::Write(log, "time\r\n");
        QVERIFY(QFile::setPermissions(log, QFile::ReadOwner));
    }
    TFModifyFileSx w;
    w.show();
    QTest::mouseClick(Child<QPushButton>(w, "LbButton2"), Qt::LeftButton);

    QTRY_VERIFY(QFile::exists(f.log));
    QCOMPARE(f.ui.boxes.size(), 1);
    QCOMPARE(f.ui.boxes[0].kind, Fake_Ui::Kind::Error);
    QVERIFY2(f.ui.boxes[0].text.startsWith(Msg(530) + QDir::toNativeSeparators(log) + Msg(531)),
             qPrintable(f.ui.boxes[0].text));
    if (!folder) {
        QFile::setPermissions(log, QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(Read_All(log), QByteArray("time\r\n"));
    }
}

// Eight entries in their places whatever exists; the ports of this computer marked; the one
// used last preselected, else the only present one.
void tst_ModifyFileSx::presentPortsMarked_data()
{
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QByteArray>("stored"); // LocalSettings.ini, empty: none
    QTest::addColumn<QList<int>>("marked");
    QTest::addColumn<int>("selected");
    QTest::newRow("none") << QStringList{} << QByteArray() << QList<int>{} << 0;
    QTest::newRow("only one present")
        << QStringList{"COM3"} << QByteArray() << QList<int>{2} << 2;
    QTest::newRow("two present") << QStringList{"COM2", "COM5"} << QByteArray()
                                 << QList<int>{1, 4} << 0;
    QTest::newRow("used last wins") << QStringList{"COM3"}
                                    << QByteArray("[Serial]\nLast_Com_Port=5\n")
                                    << QList<int>{2} << 5;
    QTest::newRow("stored beyond the list") << QStringList{"COM3"}
                                            << QByteArray("[Serial]\nLast_Com_Port=8\n")
                                            << QList<int>{2} << 2;
    QTest::newRow("other names, letter case") << QStringList{"ttyUSB0", "com4", "COM12"}
                                              << QByteArray() << QList<int>{3} << 3;
}

void tst_ModifyFileSx::presentPortsMarked()
{
    QFETCH(QStringList, present);
    QFETCH(QByteArray, stored);
    QFETCH(QList<int>, marked);
    QFETCH(int, selected);
    Window_Fixture f;
    if (!stored.isEmpty())
        f.Write(f.root.filePath(Local_Settings::File_Name()), stored);
    Fake_Ports ports(present);
    TFModifyFileSx w;
    w.show();
    auto* cbport = Child<QComboBox>(w, "cbport");
    QCOMPARE(Items(cbport),
             (QStringList{"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8"}));
    QList<int> withMark;
    for (int i = 0; i < 8; ++i) {
        const QString hint = cbport->itemData(i, Qt::ToolTipRole).toString();
        if (!cbport->itemIcon(i).isNull()) {
            withMark.append(i);
            QCOMPARE(hint, QStringLiteral("COM%1 (present)").arg(i + 1));
        } else {
            QCOMPARE(hint, QString());
        }
    }
    QCOMPARE(withMark, marked);
    QCOMPARE(cbport->currentIndex(), selected);
    if (!marked.isEmpty())
        QVERIFY(w.grab().save(Screenshot_Path(QStringLiteral("ModifyFileSx_ports.png"))));
}

void tst_ModifyFileSx::portUsedLastIsPreselected_data()
{
    QTest::addColumn<bool>("dataElsewhere"); // the program folder cannot be written
    QTest::newRow("program folder") << false;
    QTest::newRow("user data folder") << true;
}

// The port the flash tool was started with is kept in the local settings beside the settings
// file, not in Tessaform.xml, and the tool still gets the entry's zero-based position.
void tst_ModifyFileSx::portUsedLastIsPreselected()
{
    QFETCH(bool, dataElsewhere);
    Window_Fixture f;
    QTemporaryDir data;
    Shared.Dir_Data = dataElsewhere ? data.path() : f.root.path();
    Fake_Ports ports({"COM2"});
    Recording_Launcher launcher;
    TFModifyFileSx w;
    w.show();
    auto* cbport = Child<QComboBox>(w, "cbport");
    QCOMPARE(cbport->currentIndex(), 1);
    cbport->setCurrentIndex(5);
    QTest::mouseClick(Child<QPushButton>(w, "LbButton2"), Qt::LeftButton);
    QCOMPARE(f.ui.texts(), QStringList());
    QCOMPARE(launcher.starts.size(), 1);
    QCOMPARE(launcher.starts[0].last(), QStringLiteral("5"));
    w.hide();

    TFModifyFileSx next;
    next.show();
    QCOMPARE(Child<QComboBox>(next, "cbport")->currentIndex(), 5);
    QVERIFY(!QFile::exists(f.root.filePath(QStringLiteral("Tessaform.xml"))));
    QCOMPARE(Local_Settings(Shared.Dir_Data).Last_Com_Port(8), 5);
    QCOMPARE(QFile::exists(f.root.filePath(Local_Settings::File_Name())), !dataElsewhere);
}

QTEST_MAIN(tst_ModifyFileSx)
#include "tst_ModifyFileSx.moc"
