// A language file as a user may drop it into LANGUAGE: any bytes, any encoding.
#include "FuzzSupport.h"

#include "language/ULanguage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Load_Default_Language();
    FUZZ_CHECK(Read_Lng_File(Fuzz_File(QStringLiteral("Fuzz.lng"), Fuzz_Bytes(data, size))));
    for (int i = -1; i <= 1000; ++i)
        (void)Msg(i);
    return 0;
}
