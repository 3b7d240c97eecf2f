#include "report/ReportActions.h"

#include "app/UComon.h"
#include "app/UserInteraction.h"
#include "language/ULanguage.h"
#include "report/CommissioningReport.h"
#include "report/ReportPages.h"

#include <QDateTime>
#include <QDialog>
#include <QFileDialog>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>

namespace {

constexpr int Msg_Save_Caption = 507, Msg_Pdf_Filter = 508, Msg_Written = 509;

class Qt_Report_Printer final : public Report_Printer {
public:
    bool Print(QWidget* parent, const std::function<void(QPagedPaintDevice&)>& draw) override
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                          QMarginsF(15, 15, 15, 12), QPageLayout::Millimeter));
        QPrintDialog dialog(&printer, parent);
        dialog.setObjectName(QStringLiteral("Report_Print_Dialog"));
        if (Ui().Show_Modal(&dialog) != QDialog::Accepted)
            return false;
        draw(printer);
        return true;
    }
};

Qt_Report_Printer Qt_Printer;
Report_Printer* Current = nullptr;

Report_Document Active_Report()
{
    // The report compiles the configuration again, as Update Device does.
    const QString confDir = Shared.Conf_Dir;
    Report_Document doc = Make_Report(confDir, QDateTime::currentDateTime());
    Set_Files();
    return doc;
}

} // namespace

Report_Printer& Printer()
{
    return Current ? *Current : Qt_Printer;
}

void Set_Printer(Report_Printer* p)
{
    Current = p;
}

void Save_Report_Pdf(QWidget* parent)
{
    Guarded([&] {
        if (Shared.Conf_Dir.isEmpty())
            throw App_Error(Msg(18));
        QFileDialog dialog(parent, Msg(Msg_Save_Caption),
                           Path_Join(Shared.Conf_Dir, Shared.Conf_Name + QStringLiteral("-report.pdf")),
                           Msg(Msg_Pdf_Filter));
        dialog.setObjectName(QStringLiteral("Report_Save_Dialog"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(QStringLiteral("pdf"));
        if (Ui().Show_Modal(&dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return;
        const QString path = dialog.selectedFiles().first();
        Write_Report_Pdf(Active_Report(), path);
        Ui().Info_Box(Msg(Msg_Written) + QDir::toNativeSeparators(path));
    });
}

void Print_Report(QWidget* parent)
{
    Guarded([&] {
        if (Shared.Conf_Dir.isEmpty())
            throw App_Error(Msg(18));
        // Made before the dialog: a configuration that cannot be compiled asks for no printer.
        const Report_Document doc = Active_Report();
        Printer().Print(parent, [&](QPagedPaintDevice& device) { Draw_Report(doc, device); });
    });
}
