// Tessaform.xml as a crash, an editor or another program may leave it.
#include "FuzzSupport.h"

#include "app/Settings.h"
#include "app/UComon.h"

#include <QDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool folders = (Set_Program_Folders(Fuzz_Dir()), true);
    (void)folders;
    Fuzz_File(QStringLiteral("Tessaform.xml"), Fuzz_Bytes(data, size));
    try {
        Read_Settings();
    } catch (const App_Error&) {
        return 0;
    }
    // A stored name never leads outside PROJECTS.
    if (Restore_Configuration()) {
        const QString projects = QDir(Shared.Dir_Projects).canonicalPath() + QLatin1Char('/');
        FUZZ_CHECK(QDir(Shared.Conf_Dir).canonicalPath().startsWith(projects));
    }
    (void)Settings_Xml();
    return 0;
}
