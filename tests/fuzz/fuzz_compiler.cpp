// The compiler over any three configuration files (cut at NUL bytes; a part "-" is a missing
// file). What it produces is always a pair of images of the fixed sizes with a valid checksum.
#include "FuzzSupport.h"

#include "app/UComon.h"
#include "compiler/BankDump.h"
#include "compiler/USaveBincc.h"

#include <QFile>

namespace {

QString Part_File(const QString& name, const QByteArray& bytes)
{
    const QString path = Fuzz_File(name, bytes);
    if (bytes == "-")
        QFile::remove(path);
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QList<QByteArray> parts = Fuzz_Parts(Fuzz_Bytes(data, size), 3);
    Shared.File_ParGen = Part_File(QStringLiteral("ParGen.xml"), parts[0]);
    Shared.File_Receive_Frame = Part_File(QStringLiteral("Receive_Frame.xml"), parts[1]);
    Shared.File_Send_Frame = Part_File(QStringLiteral("Send_Frame.xml"), parts[2]);
    try {
        Compile_Bin();
    } catch (const App_Error&) {
        return 0;
    }
    FUZZ_CHECK(Config_Image.Bank2_Length == 18432);
    const quint8* header = Config_Image.Bank2_Buffer.data() + 16384;
    quint32 sum = 0;
    for (int i = 0; i < 2044; ++i)
        sum += header[i];
    const quint32 stored = quint32(header[2044]) | quint32(header[2045]) << 8 |
                           quint32(header[2046]) << 16 | quint32(header[2047]) << 24;
    FUZZ_CHECK(sum == stored);
    (void)Dump_Bank(
        QByteArray(reinterpret_cast<const char*>(Config_Image.Bank1_Area.data()), 16384),
        QStringLiteral("bank1.bin"));
    (void)Dump_Bank(
        QByteArray(reinterpret_cast<const char*>(Config_Image.Bank2_Buffer.data()), 18432),
        QStringLiteral("bank2.bin"));
    return 0;
}
