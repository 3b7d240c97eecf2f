#include "app/Settings.h"
#include "app/SignalClose.h"
#include "app/UTessaformeFirmWare.h"
#include "app/UserInteraction.h"
#include "app/Windows.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("SW38591"));
    // An installed program cannot write beside itself (/usr/lib, Program Files): its data then
    // goes into the user's own data folder.
    Set_User_Data_Folder(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    Create_Windows(QCoreApplication::applicationDirPath());
    auto* main = Forms.FTessaformeFirmWare;
    Close_On_Signals(main);
    main->show();
    // Inside the event loop, so that a close while the box is open still ends the program.
    if (const QString notice = Data_Folder_Notice(); !notice.isEmpty())
        QTimer::singleShot(0, main, [notice] { Ui().Info_Box(notice); });
    const int rc = app.exec();
    Destroy_Windows();
    return rc;
}
