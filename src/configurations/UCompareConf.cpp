#include "configurations/UCompareConf.h"

#include "app/UComon.h"
#include "app/UserInteraction.h"
#include "configurations/ConfigDiff.h"
#include "configurations/ConfigFolders.h"
#include "language/ULanguage.h"
#include "widgets/Panels.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>

namespace {

// The column as the table of the current language shows it; settings by element name.
QString Column_Text(const Config_Difference& d)
{
    if (d.cell < 0)
        return d.column;
    const int first = d.file == QLatin1String("Send_Frame.xml") ? 715 : 615;
    return Msg(first + d.cell);
}

} // namespace

TFCompareConf::TFCompareConf(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FCompareConf"));
    Set_Window_Look(this);
    const Dialog_Frame frame = New_Dialog_Frame(this);
    L_SW_Code = frame.code;
    L_SW_Desc = frame.subtitle;
    frame.ok->hide(); // nothing to confirm
    Btn_Close = frame.cancel;
    Btn_Close->setObjectName(QStringLiteral("Btn_Close"));
    Btn_Close->setDefault(true);

    auto* choice = new QGridLayout;
    L_Conf_A = new QLabel(this);
    L_Conf_A->setObjectName(QStringLiteral("L_Conf_A"));
    L_Conf_B = new QLabel(this);
    L_Conf_B->setObjectName(QStringLiteral("L_Conf_B"));
    CB_Conf_A = new QComboBox(this);
    CB_Conf_A->setObjectName(QStringLiteral("CB_Conf_A"));
    CB_Conf_B = new QComboBox(this);
    CB_Conf_B->setObjectName(QStringLiteral("CB_Conf_B"));
    for (QComboBox* cb : {CB_Conf_A, CB_Conf_B})
        cb->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    choice->addWidget(L_Conf_A, 0, 0);
    choice->addWidget(CB_Conf_A, 0, 1);
    choice->addWidget(L_Conf_B, 1, 0);
    choice->addWidget(CB_Conf_B, 1, 1);
    choice->setColumnStretch(1, 1);
    frame.body->addLayout(choice);

    G_Differences = new QTableWidget(0, 5, this);
    G_Differences->setObjectName(QStringLiteral("G_Differences"));
    G_Differences->setEditTriggers(QAbstractItemView::NoEditTriggers);
    G_Differences->setSelectionBehavior(QAbstractItemView::SelectRows);
    G_Differences->verticalHeader()->hide();
    G_Differences->horizontalHeader()->setStretchLastSection(true);
    frame.body->addWidget(G_Differences, 1);
    L_Result = new QLabel(this);
    L_Result->setObjectName(QStringLiteral("L_Result"));
    L_Result->setWordWrap(true);
    frame.body->addWidget(L_Result);

    for (QComboBox* cb : {CB_Conf_A, CB_Conf_B})
        connect(cb, &QComboBox::currentIndexChanged, this, [this] { Guarded([this] { Compare(); }); });
    connect(Btn_Close, &QPushButton::clicked, this, &QDialog::reject);

    resize(720, 440);
    Set_Lang();
}

void TFCompareConf::Set_Lang()
{
    setWindowTitle(Msg(533));
    L_SW_Desc->setText(Msg(533));
    L_Conf_A->setText(Msg(534));
    L_Conf_B->setText(Msg(535));
    Btn_Close->setText(Msg(536));
    G_Differences->setHorizontalHeaderLabels({Msg(537), Msg(538), Msg(539), Msg(540), Msg(541)});
}

void TFCompareConf::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Guarded([this] { FormShow(); });
}

void TFCompareConf::FormShow()
{
    Set_Lang();
    L_SW_Code->setText(Shared.SW_Code);
    const QStringList names = Configuration_Folders(Shared.Dir_Projects);
    {
        const QSignalBlocker blockA(CB_Conf_A), blockB(CB_Conf_B);
        CB_Conf_A->clear();
        CB_Conf_B->clear();
        CB_Conf_A->addItems(names);
        CB_Conf_B->addItems(names);
        const int active = Shared.Conf_Dir.isEmpty()
                               ? -1
                               : int(names.indexOf(Active_Configuration_Name()));
        const int a = active >= 0 ? active : 0;
        CB_Conf_A->setCurrentIndex(names.isEmpty() ? -1 : a);
        CB_Conf_B->setCurrentIndex(names.size() < 2 ? -1 : (a == 0 ? 1 : 0));
    }
    Compare();
}

void TFCompareConf::Compare()
{
    G_Differences->setRowCount(0);
    if (CB_Conf_A->currentIndex() < 0 || CB_Conf_B->currentIndex() < 0) {
        L_Result->setText(Msg(546));
        return;
    }
    const QList<Config_Difference> list =
        Compare_Configurations(Path_Join(Shared.Dir_Projects, CB_Conf_A->currentText()),
                               Path_Join(Shared.Dir_Projects, CB_Conf_B->currentText()));
    G_Differences->setRowCount(int(list.size()));
    for (int i = 0; i < list.size(); ++i) {
        const Config_Difference& d = list[i];
        QString column = Column_Text(d);
        if (d.kind == Config_Difference::Kind::Only_In_A)
            column = Msg(543);
        else if (d.kind == Config_Difference::Kind::Only_In_B)
            column = Msg(544);
        const QStringList cells{d.file, d.row > 0 ? QString::number(d.row) : QString(), column,
                                d.a, d.b};
        for (int c = 0; c < cells.size(); ++c)
            G_Differences->setItem(i, c, new QTableWidgetItem(cells[c]));
    }
    G_Differences->resizeColumnsToContents();
    L_Result->setText(list.isEmpty() ? Msg(542) : Msg(545) + QString::number(list.size()));
}
