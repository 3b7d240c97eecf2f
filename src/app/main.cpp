#include "app/SignalClose.h"
#include "app/UTessaformeFirmWare.h"
#include "app/Windows.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("SW38591"));
    Create_Windows(QCoreApplication::applicationDirPath());
    auto* main = Forms.FTessaformeFirmWare;
    Close_On_Signals(main);
    main->show();
    const int rc = app.exec();
    Destroy_Windows();
    return rc;
}
