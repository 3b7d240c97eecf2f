#include "update/UBoot.h"

#include "app/UComon.h"
#include "app/UserInteraction.h"
#include "compiler/ConfigImage.h"
#include "language/ULanguage.h"
#include "update/EthernetUpdate.h"
#include "update/IcmpEcho.h"
#include "widgets/AddressFields.h"

#include "update/UpdateLog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QVBoxLayout>

namespace {

QWidget* Panel(QWidget* parent, const char* name, int height)
{
    auto* p = new QWidget(parent);
    p->setObjectName(QLatin1String(name));
    p->setFixedHeight(height);
    return p;
}

template <class W> W* Named(W* w, const char* name)
{
    w->setObjectName(QLatin1String(name));
    return w;
}

bool Can_Take_Focus(const QWidget* w)
{
    return w->isEnabled() && w->isVisible() && (w->focusPolicy() & Qt::TabFocus);
}

// While the check or the tool runs, the windows repaint but take no input: a click or key
// queued meanwhile would otherwise start a second update, or close the window, afterwards.
class Busy_Window final : public QObject {
public:
    explicit Busy_Window(bool& busy) : m_busy(busy)
    {
        m_busy = true;
        qApp->installEventFilter(this);
        QApplication::setOverrideCursor(Qt::BusyCursor);
    }
    ~Busy_Window() override
    {
        QApplication::restoreOverrideCursor();
        qApp->removeEventFilter(this);
        m_busy = false;
    }
    Busy_Window(const Busy_Window&) = delete;
    Busy_Window& operator=(const Busy_Window&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::NonClientAreaMouseButtonRelease:
        case QEvent::NonClientAreaMouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::InputMethod:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::Drop:
            return true;
        case QEvent::Close:
            // The close box, of any window.
            return watched->isWidgetType();
        default:
            return false;
        }
    }

private:
    bool& m_busy;
};

} // namespace

TFBoot::TFBoot(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("FBoot"));

    P_Title = Panel(this, "P_Title", 69);
    P_Title->setAutoFillBackground(true);
    QPalette titlePalette = P_Title->palette();
    titlePalette.setColor(QPalette::Window, Qt::white);
    titlePalette.setColor(QPalette::WindowText, QColor(128, 128, 128));
    P_Title->setPalette(titlePalette);
    L_SW_Code = Named(new QLabel(P_Title), "L_SW_Code");
    QFont codeFont = L_SW_Code->font();
    codeFont.setPointSize(20);
    codeFont.setBold(true);
    L_SW_Code->setFont(codeFont);
    L_SW_Desc = Named(new QLabel(P_Title), "L_SW_Desc");
    QFont descFont = L_SW_Desc->font();
    descFont.setBold(true);
    L_SW_Desc->setFont(descFont);
    auto* title = new QVBoxLayout(P_Title);
    title->setContentsMargins(16, 6, 16, 6);
    title->setSpacing(2);
    title->addWidget(L_SW_Code);
    title->addWidget(L_SW_Desc);

    P_IP_Address = Panel(this, "P_IP_Address", 49);
    L_IP_Address = Named(new QLabel(P_IP_Address), "L_IP_Address");
    auto* ip = new QHBoxLayout(P_IP_Address);
    ip->setContentsMargins(16, 0, 16, 0);
    ip->setSpacing(4);
    ip->addWidget(L_IP_Address);
    ip->addStretch();
    static const char* const boxNames[4] = {"E_IP1", "E_IP2", "E_IP3", "E_IP4"};
    static const char* const dotNames[3] = {"L_Dot1", "L_Dot2", "L_Dot3"};
    for (int i = 0; i < 4; ++i) {
        if (i > 0)
            ip->addWidget(Named(new QLabel(QStringLiteral("."), P_IP_Address), dotNames[i - 1]));
        E_IP[i] = Named(new QLineEdit(QStringLiteral("0"), P_IP_Address), boxNames[i]);
        E_IP[i]->setFixedWidth(44);
        E_IP[i]->setAlignment(Qt::AlignCenter);
        E_IP[i]->installEventFilter(this);
        ip->addWidget(E_IP[i]);
    }
    Spread_Pasted_Address(E_IP);

    P_Options = Panel(this, "P_Options", 72);
    L_Update_Option = Named(new QLabel(P_Options), "L_Update_Option");
    CB_Update_Options = Named(new QComboBox(P_Options), "CB_Update_Options");
    CB_Update_Options->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    CB_Update_Option_Read_Back = Named(new QCheckBox(P_Options), "CB_Update_Option_Read_Back");
    auto* options = new QGridLayout(P_Options);
    options->setContentsMargins(16, 4, 16, 4);
    options->setVerticalSpacing(2);
    options->addWidget(L_Update_Option, 0, 0);
    options->addWidget(CB_Update_Options, 0, 1);
    options->addWidget(CB_Update_Option_Read_Back, 1, 1);
    // What the update is doing: the room beside the read-back box, two lines at most.
    L_Update_Status = Named(new QLabel(P_Options), "L_Update_Status");
    L_Update_Status->setWordWrap(true);
    QFont statusFont = L_Update_Status->font();
    statusFont.setPointSizeF(statusFont.pointSizeF() * 0.9);
    L_Update_Status->setFont(statusFont);
    L_Update_Status->setMinimumHeight(QFontMetrics(statusFont).lineSpacing() * 2);
    L_Update_Status->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    options->addWidget(L_Update_Status, 1, 0);
    options->setColumnStretch(0, 1);

    P_Button = Panel(this, "P_Button", 40);
    Btn_Cancel = Named(new QPushButton(P_Button), "Btn_Cancel");
    Btn_Update = Named(new QPushButton(P_Button), "Btn_Update");
    // Enter in an address box must not start an update or close the window.
    Btn_Cancel->setAutoDefault(false);
    Btn_Update->setAutoDefault(false);
    auto* buttons = new QHBoxLayout(P_Button);
    buttons->setContentsMargins(16, 0, 16, 6);
    buttons->addStretch();
    buttons->addWidget(Btn_Cancel);
    buttons->addWidget(Btn_Update);

    auto* panels = new QVBoxLayout(this);
    panels->setContentsMargins(0, 0, 0, 0);
    panels->setSpacing(0);
    for (QWidget* p : {P_Title, P_IP_Address, P_Options, P_Button})
        panels->addWidget(p);

    setTabOrder(E_IP[0], E_IP[1]);
    setTabOrder(E_IP[1], E_IP[2]);
    setTabOrder(E_IP[2], E_IP[3]);
    setTabOrder(E_IP[3], CB_Update_Options);
    setTabOrder(CB_Update_Options, CB_Update_Option_Read_Back);
    setTabOrder(CB_Update_Option_Read_Back, Btn_Cancel);
    setTabOrder(Btn_Cancel, Btn_Update);

    connect(Btn_Cancel, &QPushButton::clicked, this, &TFBoot::reject);
    connect(Btn_Update, &QPushButton::clicked, this,
            [this] { Guarded([this] { Btn_UpdateClick(); }); });

    L_SW_Code->setText(Shared.SW_Code);
    Set_Lang();
    setFixedSize(449, 69 + 49 + 72 + 40);
}

void TFBoot::Set_Lang()
{
    setWindowTitle(Msg(802));
    L_SW_Desc->setText(Msg(803));
    L_IP_Address->setText(Msg(806));
    for (int i = 0; i < 4; ++i)
        E_IP[i]->setToolTip(Msg(821 + i));
    L_Update_Option->setText(Msg(814));
    CB_Update_Options->clear();
    CB_Update_Options->addItems({Msg(815), Msg(816), Msg(817)});
    CB_Update_Options->setCurrentIndex(0);
    CB_Update_Options->setToolTip(Msg(832));
    CB_Update_Option_Read_Back->setText(Msg(818));
    CB_Update_Option_Read_Back->setToolTip(Msg(833));
    Btn_Cancel->setText(Msg(819));
    Btn_Cancel->setToolTip(Msg(834));
    Btn_Update->setText(Msg(820));
    Btn_Update->setToolTip(Msg(835));
}

void TFBoot::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFBoot::FormShow()
{
    Set_Lang();
    L_SW_Code->setText(Shared.SW_Code);
    P_IP_Address->show();
    P_Options->show();
    setFixedSize(449, P_Title->height() + P_IP_Address->height() + P_Options->height() +
                          P_Button->height());
    std::array<QString, 4> parts;
    if (!Shared.Last_IP_Address.isEmpty() && Split_IP_Address(Shared.Last_IP_Address, parts)) {
        for (int i = 0; i < 4; ++i)
            E_IP[i]->setText(parts[i]);
    }
    CB_Update_Options->setCurrentIndex(Shared.Last_Update_Option);
    CB_Update_Option_Read_Back->setChecked(Shared.Last_Read_Back);
    if (Can_Take_Focus(E_IP[0]))
        E_IP[0]->setFocus(Qt::TabFocusReason);
}

bool TFBoot::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        for (int i = 0; i < 4; ++i) {
            if (watched == E_IP[i])
                return KeyPress(i, static_cast<QKeyEvent*>(event)->text());
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool TFBoot::KeyPress(int box, const QString& key)
{
    if (key != QLatin1String("."))
        return false;
    // The dot moves on to the next number instead of being typed.
    if (box < 3 && Can_Take_Focus(E_IP[box + 1]))
        E_IP[box + 1]->setFocus(Qt::TabFocusReason);
    return true;
}

std::array<QString, 4> TFBoot::IP_Texts() const
{
    return {E_IP[0]->text(), E_IP[1]->text(), E_IP[2]->text(), E_IP[3]->text()};
}

bool TFBoot::Send_Ping()
{
    return ::Send_Ping(Icmp_Client(), Join_IP_Address(IP_Texts()), ping_res);
}

void TFBoot::Show_Status(const QString& text)
{
    if (L_Update_Status->text() != text)
        L_Update_Status->setText(text);
}

void TFBoot::Btn_UpdateClick()
{
    if (m_busy)
        return;
    // One device update at a time: the tool of the last one may still be writing.
    if (m_toolRunning) {
        if (m_toolRunning()) {
            Ui().Warning_Box(Msg(844));
            return;
        }
        m_toolRunning = nullptr;
    }
    // What was asked for when the button was pressed.
    Update_Request request;
    request.ipAddress = Join_IP_Address(IP_Texts());
    request.updateOption = CB_Update_Options->currentIndex();
    request.readBack = CB_Update_Option_Read_Back->isChecked();

    bool found;
    {
        const Busy_Window busy(m_busy);
        Show_Status(Msg(838));
        const auto cleared = qScopeGuard([this] { Show_Status(QString()); });
        found = Send_Ping();
    }
    if (!found) {
        if (ping_res == 2)
            Ui().Warning_Box(Msg(836));
        else
            Ui().Error_Box(Msg(837));
        return;
    }
    Shared.Last_IP_Address = request.ipAddress;
    Shared.Last_Update_Option = request.updateOption;
    Shared.Last_Read_Back = request.readBack;
    // Only the images this update wrote may reach the device.
    const QString problem = Update_Files_Problem(
        request, Shared.Dir_Master, Shared.Conf_Dir,
        QByteArray(reinterpret_cast<const char*>(Config_Image.Bank2_Buffer.data()),
                   Config_Image.Bank2_Length));
    if (!problem.isEmpty()) {
        Ui().Error_Box(problem);
        return;
    }
    Compile_XML_Parameter(request);
    Run_Update_Tool(request);
}

void TFBoot::Run_Update_Tool(const Update_Request& request)
{
    const Busy_Window busy(m_busy);
    // The files as they are handed over, before the tool can touch them.
    Update_Record record;
    record.route = QStringLiteral("Ethernet");
    record.target = request.ipAddress;
    record.choice = Default_Msg(815 + request.updateOption);
    for (const QString& file : Update_Files(request, Shared.Dir_Master, Shared.Conf_Dir))
        record.files << Describe_Update_File(file);
    QElapsedTimer clock;
    clock.start();
    const auto running = [&] {
        Show_Status(Msg(839) + QString::number(clock.elapsed() / 1000) + Msg(840));
    };
    running();
    bool told = false;
    const auto untold = qScopeGuard([&] {
        if (!told)
            Show_Status(QString());
    });
    const Process_Launcher::Wait_Result r = Start_Program(
        Path_Join(Shared.Dir_Program, Update_Tool_Name), QString(), Tool_Wait_Limit, [&] {
            running();
            QCoreApplication::processEvents();
        });
    told = true;
    record.when = QDateTime::currentDateTime();
    record.status = Tool_Status(r, Tool_Wait_Limit);
    try {
        Append_Update_Record(Shared.Conf_Dir, record);
    } catch (const App_Error& e) {
        Ui().Error_Box(e.text());
    }
    if (!r.finished) {
        m_toolRunning = r.stillRunning;
        Show_Status(Msg(843));
    } else if (r.crashed) {
        Show_Status(Msg(842));
    } else {
        // The tool's own conventions are unknown: the status is told, not judged.
        Show_Status(Msg(841) + QString::number(r.exitCode));
    }
}

void TFBoot::reject()
{
    if (m_busy)
        return;
    QDialog::reject();
}
