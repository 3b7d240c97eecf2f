#include "app/UComon.h"
#include "app/UTessaformeFirmWare.h"
#include "app/Windows.h"
#include "configurations/ConfigFiles.h"
#include "language/ULanguage.h"
#include "report/ReportActions.h"
#include "support/FakeUi.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QPageLayout>
#include <QPdfWriter>
#include <QTest>

namespace {

// Draws on a PDF file instead of asking for a printer.
class Pdf_Printer final : public Report_Printer {
public:
    explicit Pdf_Printer(QString path) : m_path(std::move(path)) { Set_Printer(this); }
    ~Pdf_Printer() override { Set_Printer(nullptr); }
    bool Print(QWidget*, const std::function<void(QPagedPaintDevice&)>& draw) override
    {
        ++calls;
        QPdfWriter pdf(m_path);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(15, 15, 15, 12), QPageLayout::Millimeter));
        draw(pdf);
        return true;
    }
    int calls = 0;

private:
    QString m_path;
};

} // namespace

class Tst_Report_Tools final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<Window_Test_Env>();
    }
    void cleanup() { m_env.reset(); }

    void entries_follow_the_active_configuration()
    {
        Create_Windows(m_env->folder.path());
        QMenu* tools = Forms.FTessaformeFirmWare->Tools_Menu();
        auto* pdf = tools->findChild<QAction*>(QStringLiteral("Act_Report_Pdf"));
        auto* print = tools->findChild<QAction*>(QStringLiteral("Act_Report_Print"));
        QVERIFY(pdf && print);
        QCOMPARE(pdf->text(), Msg(465));
        QCOMPARE(print->text(), Msg(466));
        Q_EMIT tools->aboutToShow();
        QVERIFY(!pdf->isEnabled());
        QVERIFY(!print->isEnabled());

        start_with_configuration();
        tools = Forms.FTessaformeFirmWare->Tools_Menu();
        Q_EMIT tools->aboutToShow();
        QVERIFY(tools->findChild<QAction*>(QStringLiteral("Act_Report_Pdf"))->isEnabled());
    }

    void save_as_pdf()
    {
        start_with_configuration();
        const QString target = m_env->folder.file(QStringLiteral("out/report.pdf"));
        QDir().mkpath(QFileInfo(target).path());
        m_env->ui.onModal = [&](QDialog* d) {
            auto* dialog = qobject_cast<QFileDialog*>(d);
            if (!dialog)
                return int(QDialog::Rejected);
            dialog->selectFile(target);
            return int(QDialog::Accepted);
        };
        Forms.FTessaformeFirmWare->findChild<QAction*>(QStringLiteral("Act_Report_Pdf"))->trigger();
        QCOMPARE(m_env->ui.shownDialogs, QStringList{QStringLiteral("Report_Save_Dialog")});
        QVERIFY(m_env->folder.read(QStringLiteral("out/report.pdf")).startsWith("%PDF-"));
        QCOMPARE(m_env->ui.texts(),
                 QStringList{Msg(509) + QDir::toNativeSeparators(target)});
        // No bank file came of it.
        QVERIFY(!QFileInfo::exists(m_env->folder.file(QStringLiteral("PROJECTS/Line 1/bin"))));

        // Cancelled: nothing written.
        QFile::remove(target);
        m_env->ui.clear();
        m_env->ui.onModal = [](QDialog*) { return int(QDialog::Rejected); };
        Forms.FTessaformeFirmWare->findChild<QAction*>(QStringLiteral("Act_Report_Pdf"))->trigger();
        QVERIFY(!QFileInfo::exists(target));
        QVERIFY(m_env->ui.boxes.isEmpty());
    }

    void print_draws_the_pages()
    {
        start_with_configuration();
        Pdf_Printer printer(m_env->folder.file(QStringLiteral("printed.pdf")));
        Forms.FTessaformeFirmWare->findChild<QAction*>(QStringLiteral("Act_Report_Print"))->trigger();
        QCOMPARE(printer.calls, 1);
        QVERIFY(m_env->folder.read(QStringLiteral("printed.pdf")).startsWith("%PDF-"));
        QVERIFY(m_env->ui.boxes.isEmpty());

        // A configuration that cannot be compiled asks for no printer.
        m_env->folder.write(QStringLiteral("PROJECTS/Line 1/Send_Frame.xml"), "<Send_Frames><row");
        Forms.FTessaformeFirmWare->findChild<QAction*>(QStringLiteral("Act_Report_Print"))->trigger();
        QCOMPARE(printer.calls, 1);
        QCOMPARE(m_env->ui.boxes.size(), 1);
        QCOMPARE(m_env->ui.boxes[0].kind, Fake_Ui::Kind::Error);
    }

private:
    void start_with_configuration()
    {
        Destroy_Windows();
        m_env->folder.write(QStringLiteral("Tessaform.xml"),
                        "<Conf_Settings><lastproj><projectname>Line 1</projectname></lastproj>"
                        "</Conf_Settings>");
        ParGen_Settings s = ParGen_Defaults_Missing_File();
        m_env->folder.write(QStringLiteral("PROJECTS/Line 1/ParGen.xml"), ParGen_Xml(s));
        Create_Windows(m_env->folder.path());
        m_env->ui.clear();
        QVERIFY(!Shared.Conf_Dir.isEmpty());
    }

    std::unique_ptr<Window_Test_Env> m_env;
};

QTEST_MAIN(Tst_Report_Tools)
#include "tst_report_tools.moc"
