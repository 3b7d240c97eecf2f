#include "options/UAbout.h"

#include "language/ULanguage.h"

#include "app/UComon.h"
#include "app/UserInteraction.h"
#include "widgets/ClickLabel.h"
#include "widgets/Panels.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QUrl>

namespace {

QLabel* New_Label(QWidget* parent, const char* name, const char* text, int x, int y, int w)
{
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(x, y, w, 18);
    return label;
}

} // namespace

TFAbout::TFAbout(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FAbout"));
    Set_Fixed_Border(this);
    Set_Window_Look(this);

    Init_Pictures();
    Image2 = new Click_Label(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(10, 10, 81, 81);
    Image2->setScaledContents(true);
    Image2->setPixmap(QPixmap(QStringLiteral(":/pictures/logo.png")));

    Label1 = New_Label(this, "Label1", "Software Tessaform ", 104, 8, 290);
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label2 = New_Label(this, "Label2", "", 104, 28, 290);
    Label6 = New_Label(this, "Label6", "Software Code : ", 104, 52, 120);
    Label9 = New_Label(this, "Label9", "", 228, 52, 166);
    Label3 = New_Label(this, "Label3", "Version :", 104, 70, 120);
    Label10 = New_Label(this, "Label10", "", 228, 70, 166);
    Label8 = New_Label(this, "Label8", "Document Code :", 104, 88, 120);
    Label12 = New_Label(this, "Label12", "", 228, 88, 166);

    Label4 = new Click_Label(this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setText(QUrl(Maker_Site).host());
    Label4->setGeometry(10, 116, 200, 18);
    QFont link = Label4->font();
    link.setUnderline(true);
    Label4->setFont(link);
    QPalette linkPal = Label4->palette();
    linkPal.setColor(QPalette::WindowText, Qt::blue);
    Label4->setPalette(linkPal);

    LbButton1 = new QPushButton(QStringLiteral("OK"), this);
    LbButton1->setObjectName(QStringLiteral("LbButton1"));
    LbButton1->setGeometry(306, 110, 90, 28);
    LbButton1->setDefault(true);

    connect(Image2, &Click_Label::clicked, this, [this] { Guarded([this] { Label4Click(); }); });
    connect(Label4, &Click_Label::clicked, this, [this] { Guarded([this] { Label4Click(); }); });
    connect(LbButton1, &QPushButton::clicked, this, &QDialog::accept);

    setFixedSize(406, 148);
    Set_Lang();
}

void TFAbout::Set_Lang()
{
    setWindowTitle(QStringLiteral("About..."));
}

void TFAbout::Label4Click()
{
    Ui().Open_Url(Product_Page_Url);
}

void TFAbout::FormShow()
{
    Label2->setText(Shared.SW_Desc);
    Label9->setText(QStringLiteral("SW38591"));
    Label10->setText(SW_Version_Text);
    Label12->setText(QStringLiteral("MN38591"));
    setToolTip(Msg(850)); // the keys of the main window, in the language shown there
    setFixedSize(406, 148);
    Centre_On_Screen(this);
}

void TFAbout::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}
