// Whatever the version service, or anything in its place, answers.
#include "FuzzSupport.h"

#include "options/VersionCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = Fuzz_Bytes(data, size);
    const QString body = Http_Answer_Body(bytes);
    (void)Is_Newer_Version(body);
    (void)Is_Newer_Version(QString::fromUtf8(bytes));
    (void)Conv_Version(QString::fromUtf8(bytes));
    return 0;
}
