#include "update/ModifyFileSx.h"

#include "app/Launcher.h"
#include "app/LocalSettings.h"
#include "app/Settings.h"
#include "app/UComon.h"
#include "app/UserInteraction.h"
#include "compiler/ConfigImage.h"
#include "language/ULanguage.h"
#include "update/ComPorts.h"
#include "update/SxComposer.h"
#include "update/UpdateLog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QShowEvent>

namespace {

const QString Flash_Tool = QStringLiteral("FlashWrite.exe");
constexpr int Com_Port_Count = 8;

// The wait cursor while the compose holds the window thread.
class Busy_Cursor final {
public:
    Busy_Cursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Busy_Cursor() { QApplication::restoreOverrideCursor(); }
    Busy_Cursor(const Busy_Cursor&) = delete;
    Busy_Cursor& operator=(const Busy_Cursor&) = delete;
};

template <class W> W* Place(W* w, const char* name, const QRect& geometry)
{
    w->setObjectName(QLatin1String(name));
    w->setGeometry(geometry);
    return w;
}

void Fill(QWidget* w, const QColor& colour)
{
    w->setAutoFillBackground(true);
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colour);
    w->setPalette(p);
}

// A green dot beside the name of a port that exists.
QIcon Present_Mark()
{
    QPixmap pix(12, 12);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(0, 110, 0));
    p.setBrush(QColor(0, 170, 0));
    p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
    return QIcon(pix);
}

QString With_Slash(const QString& dir)
{
    return dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/');
}

} // namespace

TFModifyFileSx::TFModifyFileSx(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FModifyFileSx"));
    // A tool window without title-bar buttons: "X" closes it.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(430, 224);
    Fill(this, QColor(248, 247, 237));

    LbButton1 = Place(new QPushButton(this), "LbButton1", {388, 8, 34, 30});
    LbButton1->setAutoDefault(false);
    Shape1 = Place(new QFrame(this), "Shape1", {8, 46, 414, 4});
    Fill(Shape1, QColor(255, 128, 0));
    cbport = Place(new QComboBox(this), "cbport", {24, 86, 110, 30});
    for (int port = 1; port <= Com_Port_Count; ++port)
        cbport->addItem(QStringLiteral("COM%1").arg(port));
    LbButton2 = Place(new QPushButton(this), "LbButton2", {150, 82, 256, 38});
    LbButton2->setAutoDefault(false);
    Avanzamento = Place(new QProgressBar(this), "Avanzamento", {24, 166, 382, 24});

    // Stages 3 to 5 never merge; the switches stay hidden from the user.
    GbBank = Place(new QGroupBox(this), "GbBank", {24, 180, 382, 36});
    for (int i = 0; i < 5; ++i) {
        Cbbank[size_t(i)] = new QCheckBox(QStringLiteral("Bank%1").arg(i + 1), GbBank);
        Cbbank[size_t(i)]->setObjectName(QStringLiteral("Cbbank%1").arg(i + 1));
        Cbbank[size_t(i)]->setGeometry(8 + 74 * i, 8, 70, 22);
    }
    GbBank->hide();

    connect(LbButton1, &QPushButton::clicked, this, &TFModifyFileSx::LbButton1Click);
    connect(LbButton2, &QPushButton::clicked, this, &TFModifyFileSx::LbButton2Click);
    Set_Lang();
}

void TFModifyFileSx::Set_Lang()
{
    setWindowTitle(QStringLiteral("Generate Firmware"));
    LbButton1->setText(QStringLiteral("X"));
    LbButton2->setText(QStringLiteral("Execute update firmware"));
}

void TFModifyFileSx::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        Guarded([this] { FormShow(); });
}

void TFModifyFileSx::FormShow()
{
    // The lower edge sits at the middle of the screen.
    if (const QScreen* s = screen()) {
        const QRect area = s->geometry();
        move(area.x() + area.width() / 2 - width() / 2, area.y() + area.height() / 2 - height());
    }

    for (int i = 0; i < 5; ++i) {
        Cbbank[size_t(i)]->setVisible(i < 2);
        Cbbank[size_t(i)]->setChecked(i < 2);
    }
    GbBank->hide();

    Show_Ports();
    Avanzamento->setValue(0);
    LbButton2->setEnabled(false);

    // Always the images of the configuration now active, never an earlier one's.
    const QString bin = Path_Join(Shared.Conf_Dir, QStringLiteral("bin"));
    NomeDirBin = !Shared.Conf_Dir.isEmpty() && QFileInfo(bin).isDir() ? With_Slash(bin) : QString();

    if (Shared.Dir_Master.isEmpty() || !QFileInfo(Shared.Dir_Master).isDir()) {
        Ui().Error_Box(
            QStringLiteral("Error! Firmware Directory not Found! Please reinstall the software."));
        return;
    }
    if (!QFileInfo(Path_Join(Shared.Dir_Master, Firmware_File_Name)).isFile()) {
        Ui().Error_Box(
            QStringLiteral("Error! Firmware File not Found! Please reinstall the software."));
        return;
    }
    // The flash tool inherits this folder.
    QDir::setCurrent(Shared.Dir_Master);
    NomeFileSx = Firmware_File_Name;
    // Without an active configuration there is nowhere to write: the compose stops at once.
    NomeDirSxNew = Shared.Conf_Dir.isEmpty() ? QString() : With_Slash(Shared.Conf_Dir);
    NomeFileSxNew = NomeDirSxNew.isEmpty() ? QString() : New_Firmware_Prefix + NomeFileSx;
    LbButton2->setEnabled(true);
}

void TFModifyFileSx::LbButton1Click()
{
    reject();
}

void TFModifyFileSx::LbButton2Click()
{
    Guarded([this] {
        // Only a firmware composed by this press may reach the device.
        if (ExeModFileSxClick())
            ExeUpdateFirClick();
    });
}

bool TFModifyFileSx::ExeModFileSxClick()
{
    // The firmware must hold the images this update compiled, not whatever the files hold now.
    if (Config_Image.Bank2_Length != Config_Image_Data::Bank2_Size) {
        Ui().Info_Box(QStringLiteral("No Configuration Compiled,Abort Procedure"));
        return false;
    }
    Sx_Composer c;
    c.Expected_Images = {
        QByteArray(reinterpret_cast<const char*>(Config_Image.Bank1_Area.data()), Bank_Size),
        QByteArray(reinterpret_cast<const char*>(Config_Image.Bank2_Buffer.data()), Bank_Size)};
    c.NomeDirSxNew = NomeDirSxNew;
    c.NomeFileSxNew = NomeFileSxNew;
    c.NomeDirBin = NomeDirBin;
    for (int i = 0; i < Stage_Count; ++i)
        c.Merge_Switch[size_t(i)] =
            !Cbbank[size_t(i)]->isHidden() && Cbbank[size_t(i)]->isChecked();
    c.On_Message = [](const QString& text) { Ui().Info_Box(text); };
    c.On_Progress = [this](int value, int maximum) {
        if (maximum > 0 && Avanzamento->maximum() != maximum)
            Avanzamento->setMaximum(maximum);
        Avanzamento->setValue(value);
    };
    bool done = false;
    {
        const Busy_Cursor busy;
        const auto failed = qScopeGuard([&] {
            // A full bar would tell of a result that was not made.
            if (!done)
                Avanzamento->setValue(0);
        });
        done = c.Compose(Path_Join(Shared.Dir_Master, NomeFileSx));
    }
    return done;
}

void TFModifyFileSx::Show_Ports()
{
    // The entries and their positions stay: the tool takes the position as its port number.
    const QList<bool> present = Present_Com_Ports(Serial_Ports().Port_Names(), Com_Port_Count);
    // A mark rather than a longer caption: the list's width is fixed and the name must show.
    for (int i = 0; i < Com_Port_Count; ++i) {
        const QString hint = present[i] ? cbport->itemText(i) + Msg(851) : QString();
        cbport->setItemIcon(i, present[i] ? Present_Mark() : QIcon());
        cbport->setItemData(i, hint, Qt::ToolTipRole);
        cbport->setItemData(i, hint.isEmpty() ? QVariant() : QVariant(hint),
                            Qt::AccessibleTextRole);
    }
    const int last = Local_Settings(Data_Folder()).Last_Com_Port(Com_Port_Count);
    cbport->setCurrentIndex(Preselected_Com_Port(last, present));
}

void TFModifyFileSx::ExeUpdateFirClick()
{
    const QString result = NomeDirSxNew + NomeFileSxNew;
    if (!QFileInfo(result).isFile()) {
        Ui().Info_Box(QStringLiteral("File *.Sx Not Found,Abort Procedure"));
        return;
    }
    const QString tool = Path_Join(Shared.Dir_Program, Flash_Tool);
    if (!QFileInfo(tool).isFile()) {
        Ui().Info_Box(QStringLiteral("FlashWrite.exe Not Found, Procedure Aborted"));
        return;
    }
    const auto started = Launcher().Start_Detached(
        tool, {QDir::toNativeSeparators(result), QString::number(cbport->currentIndex())},
        QDir::currentPath());
    if (!started.started) {
        Ui().Error_Box(QStringLiteral("Cannot start the program %1: %2")
                           .arg(QDir::toNativeSeparators(tool), started.error));
        return;
    }
    Local_Settings(Data_Folder()).Set_Last_Com_Port(cbport->currentIndex());

    Update_Record record;
    record.when = QDateTime::currentDateTime();
    record.route = QStringLiteral("serial");
    record.target = cbport->currentText();
    QStringList banks;
    for (const QCheckBox* bank : Cbbank)
        if (!bank->isHidden() && bank->isChecked())
            banks << bank->text();
    record.choice = banks.join(QStringLiteral(" + "));
    record.files << Describe_Update_File(result);
    record.status = Tool_Started_Status;
    try {
        Append_Update_Record(Shared.Conf_Dir, record);
    } catch (const App_Error& e) {
        Ui().Error_Box(e.text());
    }
}
