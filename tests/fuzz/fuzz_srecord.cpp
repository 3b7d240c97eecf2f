// A firmware file of any content merged with two fixed images, as "Generate Firmware" and
// `compose` read it.
#include "FuzzSupport.h"

#include "app/UComon.h"
#include "update/SxComposer.h"

#include <QDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool images = [] {
        QDir(Fuzz_Dir()).mkpath(QStringLiteral("bin"));
        QDir(Fuzz_Dir()).mkpath(QStringLiteral("out"));
        QByteArray b1(16384, '\0'), b2(18432, '\0');
        for (int i = 0; i < b1.size(); ++i)
            b1[i] = char(i * 7);
        for (int i = 0; i < b2.size(); ++i)
            b2[i] = char(i * 13 + 1);
        Fuzz_File(QStringLiteral("bin/bank1.bin"), b1);
        Fuzz_File(QStringLiteral("bin/bank2.bin"), b2);
        return true;
    }();
    (void)images;
    const QString firmware = Fuzz_File(QStringLiteral("sx38591.sx"), Fuzz_Bytes(data, size));
    Sx_Composer c;
    c.NomeDirSxNew = QDir(Fuzz_Dir()).filePath(QStringLiteral("out")) + QLatin1Char('/');
    c.NomeFileSxNew = QStringLiteral("New_sx38591.sx");
    c.NomeDirBin = QDir(Fuzz_Dir()).filePath(QStringLiteral("bin")) + QLatin1Char('/');
    try {
        (void)c.Compose(firmware);
    } catch (const App_Error&) {
    }
    return 0;
}
