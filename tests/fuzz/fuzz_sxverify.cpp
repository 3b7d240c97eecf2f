// A composed firmware file of any content, as it is read back before a flash tool gets it.
#include "FuzzSupport.h"

#include "app/UComon.h"
#include "update/SxVerify.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const Bank_Images images = [] {
        Bank_Images i;
        i[0] = QByteArray(Bank_Size, '\x5A');
        i[1] = QByteArray(Bank_Size, '\0');
        return i;
    }();
    const QString path = Fuzz_File(QStringLiteral("New_sx38591.sx"), Fuzz_Bytes(data, size));
    try {
        (void)Verify_Composed(path, images);
        (void)Verify_Composed(path, Bank_Images{});
    } catch (const App_Error&) {
    }
    return 0;
}
