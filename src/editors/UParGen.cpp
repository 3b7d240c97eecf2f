#include "editors/UParGen.h"

#include "app/UComon.h"
#include "app/UserInteraction.h"
#include "editors/FrameTables.h"
#include "editors/ParGenChecks.h"
#include "editors/ParGenLayout.h"
#include "language/ULanguage.h"
#include "widgets/AddressFields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>

#include <limits>
#include <utility>

namespace {

// Design sizes; the layout measures the controls, so these decide the window's geometry.
constexpr int List_Height = 22;
constexpr int Edit_Height = 21;
constexpr int Check_Height = 17;
constexpr int Label_Height = 16;
constexpr int Box_Width = 296;
constexpr int Collapsed_Height = 26;
constexpr int Box_Button_Size = 11;

template <typename W>
W* Make(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(left, top, width, height);
    return w;
}

QLabel* Make_Label(QWidget* parent, const char* name, int left, int top)
{
    return Make<QLabel>(parent, name, left, top, 60, Label_Height);
}

// Labels and check boxes grow with their (translated) text; their height stays the design one.
void Fit_Width(QWidget* w)
{
    w->resize(w->sizeHint().width(), w->height());
}

QIcon Box_Glyph(bool plus)
{
    QPixmap pm(7, 7);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(0, 3, 6, 3);
    if (plus)
        p.drawLine(3, 0, 3, 6);
    return QIcon(pm);
}

QToolButton* Make_Box_Button(QGroupBox* box, const QString& name, bool plus)
{
    auto* b = new QToolButton(box);
    b->setObjectName(name);
    b->setGeometry(280, 10, Box_Button_Size, Box_Button_Size);
    b->setIcon(Box_Glyph(plus));
    b->setIconSize(QSize(7, 7));
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

QString Check_Text(const QCheckBox* c)
{
    return c->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
}

int Bottom(const QWidget* w)
{
    return w->y() + w->height();
}

} // namespace

TFParGen::TFParGen(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FParGen"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    Create_Controls();
    FormCreate();
}

void TFParGen::Create_Controls()
{
    L_SW_Code = Make<QLabel>(this, "L_SW_Code", 8, 4, 296, 36);
    QFont big = L_SW_Code->font();
    big.setPointSize(20);
    big.setBold(true);
    L_SW_Code->setFont(big);
    L_SW_Desc = Make<QLabel>(this, "L_SW_Desc", 8, 44, 296, 20);
    QFont desc = L_SW_Desc->font();
    desc.setBold(true);
    L_SW_Desc->setFont(desc);
    // The caption sits on the frame line, so a collapsed box still shows a frame below it.
    setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid palette(mid); border-radius: 3px; margin-top: 7px; }"
        "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
        " left: 8px; top: 0px; }"));

    GB_Select_Device = Make<QGroupBox>(this, "GB_Select_Device", 8, 70, Box_Width, 58);
    CB_Select_Device =
        Make<QComboBox>(GB_Select_Device, "CB_Select_Device", 16, 21, 256, List_Height);

    GB_J1939 = Make<QGroupBox>(this, "GB_J1939", 8, 134, Box_Width, 192);
    L_J1939_Baud = Make_Label(GB_J1939, "L_J1939_Baud", 16, 24);
    CB_Baud_J1939 = Make<QComboBox>(GB_J1939, "CB_Baud_J1939", 84, 21, 140, List_Height);
    L_J1939_SendType = Make_Label(GB_J1939, "L_J1939_SendType", 16, 58);
    // Wide enough for the translated entries.
    CB_J1939_SendType = Make<QComboBox>(GB_J1939, "CB_J1939_SendType", 84, 55, 180, List_Height);
    L_J1939_SendTimer = Make_Label(GB_J1939, "L_J1939_SendTimer", 16, 92);
    E_J1939_SendTimer = Make<QLineEdit>(GB_J1939, "E_J1939_SendTimer", 148, 89, 76, Edit_Height);
    L_J1939_TO = Make_Label(GB_J1939, "L_J1939_TO", 16, 126);
    E_J1939_TO = Make<QLineEdit>(GB_J1939, "E_J1939_TO", 148, 123, 76, Edit_Height);
    CB_J1939_En_Peer = Make<QCheckBox>(GB_J1939, "CB_J1939_En_Peer", 16, 160, 200, Check_Height);
    L_J1939_DevID = Make_Label(GB_J1939, "L_J1939_DevID", 16, 126);
    E_J1939_DevID = Make<QLineEdit>(GB_J1939, "E_J1939_DevID", 148, 123, 76, Edit_Height);

    GB_DeviceNet_Slave = Make<QGroupBox>(this, "GB_DeviceNet_Slave", 8, 332, Box_Width, 92);
    L_DeviceNet_Slave_IDDev = Make_Label(GB_DeviceNet_Slave, "L_DeviceNet_Slave_IDDev", 16, 24);
    E_DeviceNet_Slave_IDDev =
        Make<QLineEdit>(GB_DeviceNet_Slave, "E_DeviceNet_Slave_IDDev", 148, 21, 76, Edit_Height);
    L_DeviceNet_Slave_Baud = Make_Label(GB_DeviceNet_Slave, "L_DeviceNet_Slave_Baud", 16, 58);
    CB_DeviceNet_Slave_Baud =
        Make<QComboBox>(GB_DeviceNet_Slave, "CB_DeviceNet_Slave_Baud", 84, 55, 140, List_Height);

    // Each address takes a line of four fields under its own caption line.
    GB_Ethernet = Make<QGroupBox>(this, "GB_Ethernet", 8, 397, Box_Width, 190);
    L_Ethernet_IP = Make_Label(GB_Ethernet, "L_Ethernet_IP", 16, 24);
    L_Ethernet_SM = Make_Label(GB_Ethernet, "L_Ethernet_SM", 16, 79);
    const auto addressLine = [this](std::array<QLineEdit*, 4>& fields, const char* stem, int top) {
        for (int i = 0; i < 4; ++i) {
            const int left = 16 + i * 56;
            const QByteArray name = QByteArray(stem) + QByteArray::number(i + 1);
            fields[i] = Make<QLineEdit>(GB_Ethernet, name.constData(), left, top, 44, Edit_Height);
            if (i < 3) {
                const QByteArray dotName =
                    "L_" + QByteArray(stem).mid(2) + "_Dot" + QByteArray::number(i + 1);
                auto* dot = Make<QLabel>(GB_Ethernet, dotName.constData(), left + 44, top + 3, 12,
                                         Label_Height);
                dot->setText(QStringLiteral("."));
                dot->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
            }
        }
    };
    addressLine(E_Ethernet_IP, "E_Ethernet_IP", 44);
    addressLine(E_Ethernet_SM, "E_Ethernet_SM", 99);
    CB_Ethernet_EN_GAT =
        Make<QCheckBox>(GB_Ethernet, "CB_Ethernet_EN_GAT", 16, 134, 200, Check_Height);
    addressLine(E_Ethernet_GAT, "E_Ethernet_GAT", 154);
    for (int i = 0; i < 4; ++i) {
        m_addressChain[i] = E_Ethernet_IP[i];
        m_addressChain[4 + i] = E_Ethernet_SM[i];
        m_addressChain[8 + i] = E_Ethernet_GAT[i];
    }
    for (QLineEdit* e : m_addressChain)
        e->installEventFilter(this);
    for (const auto* group : {&E_Ethernet_IP, &E_Ethernet_SM, &E_Ethernet_GAT})
        Spread_Pasted_Address(*group);
    // A field keeps the stored text whole: the line edit's own limit would cut it on loading.
    for (QLineEdit* e : findChildren<QLineEdit*>())
        e->setMaxLength(std::numeric_limits<int>::max());

    Btn_OK = Make<QPushButton>(this, "Btn_OK", 64, 437, 84, 28);
    Btn_Cancel = Make<QPushButton>(this, "Btn_Cancel", 164, 437, 84, 28);
    Btn_OK->setText(QStringLiteral("OK"));
    Btn_Cancel->setText(QStringLiteral("Cancel"));
    // Enter in a field must not press a button behind the user's back.
    for (QPushButton* b : {Btn_OK, Btn_Cancel})
        b->setAutoDefault(false);

    m_boxes = {Box{GB_Select_Device,
                   Make_Box_Button(GB_Select_Device, "Btn_Select_Device_Collapse", false),
                   Make_Box_Button(GB_Select_Device, "Btn_Select_Device_Expande", true),
                   &GB_Select_Device_Visible,
                   {CB_Select_Device}},
               Box{GB_J1939,
                   Make_Box_Button(GB_J1939, "Btn_J1939_Collapse", false),
                   Make_Box_Button(GB_J1939, "Btn_J1939_Expande", true),
                   &GB_J1939_Visible,
                   {L_J1939_Baud, CB_Baud_J1939}},
               Box{GB_DeviceNet_Slave,
                   Make_Box_Button(GB_DeviceNet_Slave, "Btn_DeviceNet_Slave_Collapse", false),
                   Make_Box_Button(GB_DeviceNet_Slave, "Btn_DeviceNet_Slave_Expande", true),
                   &GB_DeviceNet_Slave_Visible,
                   {L_DeviceNet_Slave_IDDev, E_DeviceNet_Slave_IDDev}},
               Box{GB_Ethernet,
                   Make_Box_Button(GB_Ethernet, "Btn_Ethernet_Collapse", false),
                   Make_Box_Button(GB_Ethernet, "Btn_Ethernet_Expande", true),
                   &GB_Ethernet_Visible,
                   {L_Ethernet_IP}}};

    CB_Baud_J1939->addItems(Can_Baud_Items());
    CB_DeviceNet_Slave_Baud->addItems(Net_Baud_Items());

    for (QComboBox* c :
         {CB_Select_Device, CB_Baud_J1939, CB_J1939_SendType, CB_DeviceNet_Slave_Baud})
        connect(c, &QComboBox::currentIndexChanged, this, &TFParGen::On_Change);
    for (QLineEdit* e : {E_J1939_SendTimer, E_J1939_TO, E_J1939_DevID, E_DeviceNet_Slave_IDDev})
        connect(e, &QLineEdit::textChanged, this, &TFParGen::On_Change);
    for (QLineEdit* e : m_addressChain)
        connect(e, &QLineEdit::textChanged, this, &TFParGen::On_Change);
    for (QCheckBox* c : {CB_J1939_En_Peer, CB_Ethernet_EN_GAT})
        connect(c, &QCheckBox::clicked, this, &TFParGen::On_Click);
    for (const Box& b : m_boxes) {
        connect(b.collapse, &QToolButton::clicked, this, &TFParGen::Btn_GB_Collapse);
        connect(b.expand, &QToolButton::clicked, this, &TFParGen::Btn_GB_Expande);
    }
    connect(Btn_OK, &QPushButton::clicked, this, &TFParGen::Btn_OKClick);
    connect(Btn_Cancel, &QPushButton::clicked, this, &TFParGen::Btn_CancelClick);
}

void TFParGen::FormCreate()
{
    L_SW_Code->setText(Shared.SW_Code);
    for (const Box& b : m_boxes)
        b.group->hide();
    Collapse_Expand_Creation();
    Move_GroupBoxs();
    Set_Lang();
}

void TFParGen::Set_Lang()
{
    setWindowTitle(Msg(400));
    L_SW_Desc->setText(Msg(401));
    GB_Select_Device->setTitle(Msg(402));
    GB_J1939->setTitle(Msg(405));
    GB_DeviceNet_Slave->setTitle(Msg(413));
    GB_Ethernet->setTitle(Msg(416));

    const std::pair<QWidget*, int> hints[] = {{CB_Select_Device, 422},
                                              {CB_Baud_J1939, 423},
                                              {CB_J1939_SendType, 424},
                                              {E_J1939_SendTimer, 425},
                                              {E_J1939_TO, 426},
                                              {CB_J1939_En_Peer, 427},
                                              {E_J1939_DevID, 461},
                                              {E_DeviceNet_Slave_IDDev, 428},
                                              {CB_DeviceNet_Slave_Baud, 429},
                                              {CB_Ethernet_EN_GAT, 438}};
    for (const auto& [w, n] : hints)
        w->setToolTip(Msg(n));
    for (int i = 0; i < 4; ++i) {
        E_Ethernet_IP[i]->setToolTip(Msg(430 + i));
        E_Ethernet_SM[i]->setToolTip(Msg(434 + i));
        E_Ethernet_GAT[i]->setToolTip(Msg(439 + i));
    }
    for (const Box& b : m_boxes) {
        b.collapse->setToolTip(Msg(420));
        b.expand->setToolTip(Msg(421));
    }

    const std::pair<QLabel*, int> labels[] = {
        {L_J1939_Baud, 406},           {L_J1939_SendType, 407},
        {L_J1939_SendTimer, 410},      {L_J1939_TO, 411},
        {L_J1939_DevID, 460},          {L_DeviceNet_Slave_IDDev, 414},
        {L_DeviceNet_Slave_Baud, 415}, {L_Ethernet_IP, 417},
        {L_Ethernet_SM, 418}};
    for (const auto& [l, n] : labels) {
        l->setText(Msg(n));
        Fit_Width(l);
    }
    CB_J1939_En_Peer->setText(Msg(412));
    CB_Ethernet_EN_GAT->setText(Msg(419));
    Fit_Width(CB_J1939_En_Peer);
    Fit_Width(CB_Ethernet_EN_GAT);

    CB_Select_Device->clear();
    CB_Select_Device->addItems({Msg(403), Msg(404)});
    CB_Select_Device->setCurrentIndex(0);
    CB_J1939_SendType->clear();
    CB_J1939_SendType->addItems({Msg(408), Msg(409)});
    CB_J1939_SendType->setCurrentIndex(0);
}

void TFParGen::Collapse_Expand_Creation()
{
    for (const Box& b : m_boxes) {
        *b.expanded = true;
        b.collapse->move(280, 10);
        b.expand->move(280, 10);
        b.collapse->show();
        b.expand->hide();
    }
}

void TFParGen::Move_GroupBoxs()
{
    ParGen_Layout_Input in;
    in.Device_Position = CB_Select_Device->currentIndex();
    in.Select_Device_Visible = GB_Select_Device_Visible;
    in.J1939_Visible = GB_J1939_Visible;
    in.DeviceNet_Slave_Visible = GB_DeviceNet_Slave_Visible;
    in.Ethernet_Visible = GB_Ethernet_Visible;
    in.Select_Device_Height = GB_Select_Device->height();
    in.J1939_Height = GB_J1939->height();
    in.DeviceNet_Slave_Height = GB_DeviceNet_Slave->height();
    in.Ethernet_Height = GB_Ethernet->height();
    in.Select_Device_Bottom = Bottom(CB_Select_Device);
    in.DeviceNet_Baud_Bottom = Bottom(CB_DeviceNet_Slave_Baud);
    in.Ethernet_GAT4_Bottom = Bottom(E_Ethernet_GAT[3]);
    in.En_Peer_Height = CB_J1939_En_Peer->height();
    in.DevID_Height = E_J1939_DevID->height();

    const ParGen_Layout out = ParGen_Move_GroupBoxs(in);
    const std::pair<QGroupBox*, const ParGen_Box_Place*> boxes[] = {
        {GB_Select_Device, &out.GB_Select_Device},
        {GB_J1939, &out.GB_J1939},
        {GB_DeviceNet_Slave, &out.GB_DeviceNet_Slave},
        {GB_Ethernet, &out.GB_Ethernet}};
    for (const auto& [box, place] : boxes) {
        if (place->Shown)
            box->setGeometry(place->Left, place->Top, box->width(), place->Height);
        box->setVisible(place->Shown);
    }
    for (const ParGen_Control_Place& c : out.J1939_Shown)
        GB_J1939->findChild<QWidget*>(c.Name, Qt::FindDirectChildrenOnly)->move(c.Left, c.Top);
    // A collapsed box hides all its controls, not only the first line: controls cut off below
    // its edge would still take the focus, and typing would change values out of sight.
    for (const Box& b : m_boxes)
        for (QWidget* w : b.group->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (w != b.collapse && w != b.expand)
                w->setVisible(*b.expanded && !out.J1939_Hidden.contains(w->objectName()));
    Btn_OK->move(Btn_OK->x(), out.Buttons_Top);
    Btn_Cancel->move(Btn_Cancel->x(), out.Buttons_Top);
    setFixedSize(out.Client_Width, out.Client_Height);
}

int TFParGen::exec()
{
    // Loaded before the modal loop starts: a window that never shows could not end that loop.
    if (!Guarded([this] { FormShow(); })) {
        setResult(QDialog::Rejected);
        return QDialog::Rejected;
    }
    m_shownLoaded = true;
    return QDialog::exec();
}

void TFParGen::setVisible(bool visible)
{
    if (visible && !isVisible()) {
        const bool loaded = std::exchange(m_shownLoaded, false);
        if (!loaded && !Guarded([this] { FormShow(); }))
            return;
        if (const QScreen* s = screen())
            move(s->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    }
    QDialog::setVisible(visible);
}

void TFParGen::FormShow()
{
    // Read everything before touching a control: a broken file leaves the window as it was.
    const ParGen_Load load = Read_ParGen(Shared.File_ParGen);
    m_loadedReduced = Is_Device_Without_Ethernet(Shared.File_ParGen);
    Show_Values(ParGen_As_Shown(load.values));
    Is_Change = false;
    Move_GroupBoxs();
}

void TFParGen::Show_Values(const ParGen_Settings& shown)
{
    CB_Select_Device->setCurrentIndex(shown.Device_Type.toInt());
    CB_Baud_J1939->setCurrentIndex(shown.Can_Baud.toInt());
    CB_J1939_SendType->setCurrentIndex(shown.How_Send.toInt());
    E_J1939_SendTimer->setText(shown.Delay_Send);
    E_J1939_TO->setText(shown.TimeOut_Data);
    CB_J1939_En_Peer->setChecked(shown.PeerToPeer == QLatin1String("1"));
    E_J1939_DevID->setText(shown.J1939_Device_ID);
    E_DeviceNet_Slave_IDDev->setText(shown.Net_Dev_Id);
    CB_DeviceNet_Slave_Baud->setCurrentIndex(shown.Net_Baud.toInt());
    const QString* ip[] = {&shown.Ethernet_IP1, &shown.Ethernet_IP2, &shown.Ethernet_IP3,
                           &shown.Ethernet_IP4};
    const QString* sm[] = {&shown.Ethernet_SM1, &shown.Ethernet_SM2, &shown.Ethernet_SM3,
                           &shown.Ethernet_SM4};
    const QString* gat[] = {&shown.Ethernet_GAT1, &shown.Ethernet_GAT2, &shown.Ethernet_GAT3,
                            &shown.Ethernet_GAT4};
    for (int i = 0; i < 4; ++i) {
        E_Ethernet_IP[i]->setText(*ip[i]);
        E_Ethernet_SM[i]->setText(*sm[i]);
        E_Ethernet_GAT[i]->setText(*gat[i]);
    }
    CB_Ethernet_EN_GAT->setChecked(shown.Ethernet_EN_GAT == QLatin1String("1"));
}

ParGen_Settings TFParGen::Values() const
{
    ParGen_Settings s;
    s.Device_Type = QString::number(CB_Select_Device->currentIndex());
    s.Can_Baud = QString::number(CB_Baud_J1939->currentIndex());
    s.CAN_Type = QStringLiteral("1");
    s.How_Send = QString::number(CB_J1939_SendType->currentIndex());
    s.Delay_Send = E_J1939_SendTimer->text();
    s.TimeOut_Data = E_J1939_TO->text();
    s.PeerToPeer = Check_Text(CB_J1939_En_Peer);
    s.J1939_Device_ID = E_J1939_DevID->text();
    s.Net_Dev_Id = E_DeviceNet_Slave_IDDev->text();
    s.Net_Baud = QString::number(CB_DeviceNet_Slave_Baud->currentIndex());
    QString* ip[] = {&s.Ethernet_IP1, &s.Ethernet_IP2, &s.Ethernet_IP3, &s.Ethernet_IP4};
    QString* sm[] = {&s.Ethernet_SM1, &s.Ethernet_SM2, &s.Ethernet_SM3, &s.Ethernet_SM4};
    QString* gat[] = {&s.Ethernet_GAT1, &s.Ethernet_GAT2, &s.Ethernet_GAT3, &s.Ethernet_GAT4};
    for (int i = 0; i < 4; ++i) {
        *ip[i] = E_Ethernet_IP[i]->text();
        *sm[i] = E_Ethernet_SM[i]->text();
        *gat[i] = E_Ethernet_GAT[i]->text();
    }
    s.Ethernet_EN_GAT = Check_Text(CB_Ethernet_EN_GAT);
    return s;
}

bool TFParGen::Controllo_Dati()
{
    const int failure = ParGen_First_Failure(Values());
    if (failure == 0)
        return true;
    Ui().Error_Box(Msg(failure));
    return false;
}

void TFParGen::Btn_OKClick()
{
    Guarded([this] {
        if (!Controllo_Dati())
            return;
        const ParGen_Settings values = Values();
        if (!Confirm_Reduced_Tables(values))
            return;
        Write_ParGen(Shared.File_ParGen, values);
        accept();
    });
}

bool TFParGen::Confirm_Reduced_Tables(const ParGen_Settings& values)
{
    if (m_loadedReduced || values.Device_Type != QLatin1String("0"))
        return true;
    QString lost;
    for (const Frame_Table_Kind* kind : {&Receive_Table, &Send_Table}) {
        const int rows = Stored_Rows_Beyond(*kind, Shared.*kind->file_path, true);
        if (rows > 0)
            lost += QLatin1Char('\n') + Msg(kind->msg) + Msg(463) + QString::number(rows);
    }
    return lost.isEmpty() || Ui().Confirm_Box(Msg(462) + lost + QLatin1Char('\n') + Msg(464));
}

void TFParGen::Btn_CancelClick()
{
    if (Is_Change && !Ui().Confirm_Box(Msg(458)))
        return;
    reject();
}

void TFParGen::On_Change()
{
    Is_Change = true;
    if (sender() == CB_Select_Device)
        Move_GroupBoxs();
}

void TFParGen::On_Click()
{
    Is_Change = true;
}

TFParGen::Box* TFParGen::Box_Of_Button(QObject* button)
{
    for (Box& b : m_boxes)
        if (b.collapse == button || b.expand == button)
            return &b;
    return nullptr;
}

void TFParGen::Btn_GB_Collapse()
{
    Box* b = Box_Of_Button(sender());
    if (!b)
        return;
    b->group->resize(b->group->width(), Collapsed_Height);
    for (QWidget* w : b->firstLine)
        w->hide();
    b->collapse->hide();
    b->expand->show();
    *b->expanded = false;
    Move_GroupBoxs();
}

void TFParGen::Btn_GB_Expande()
{
    Box* b = Box_Of_Button(sender());
    if (!b)
        return;
    for (QWidget* w : b->firstLine)
        w->show();
    b->collapse->show();
    b->expand->hide();
    *b->expanded = true;
    Move_GroupBoxs();
}

bool TFParGen::KeyPress(QLineEdit* field)
{
    const auto it = std::find(m_addressChain.begin(), m_addressChain.end(), field);
    if (it == m_addressChain.end())
        return false;
    const auto next = it + 1;
    if (next != m_addressChain.end() && (*next)->isVisible() && (*next)->isEnabled())
        (*next)->setFocus(Qt::TabFocusReason);
    return true;
}

bool TFParGen::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->text() == QLatin1String("."))
        if (auto* field = qobject_cast<QLineEdit*>(watched); field && KeyPress(field))
            return true;
    return QDialog::eventFilter(watched, e);
}

void TFParGen::FormActivate()
{
    if (frameGeometry().top() < 0)
        move(x(), 0);
}

bool TFParGen::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate)
        FormActivate();
    return QDialog::event(e);
}

void TFParGen::keyPressEvent(QKeyEvent* e)
{
    // Escape is the Cancel button, so changes are not dropped without the question.
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        Btn_CancelClick();
        return;
    }
    QDialog::keyPressEvent(e);
}
