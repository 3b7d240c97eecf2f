// The number syntax of every value, and the dotted addresses: typed or read from a file.
#include "FuzzSupport.h"

#include "configurations/TextToInt.h"
#include "update/EthernetUpdate.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = Fuzz_Bytes(data, size);
    for (const QString& text : {QString::fromUtf8(bytes), QString::fromLatin1(bytes)}) {
        const std::optional<qint32> v = Parse_Int(text);
        FUZZ_CHECK(Text_To_Int(text, 7) == v.value_or(7));
        FUZZ_CHECK(Text_To_Int(text, -7) == v.value_or(-7));
        if (v)
            FUZZ_CHECK(Parse_Int(QString::number(*v)) == v);
        FUZZ_CHECK(Text_In_Range(text, 0, 255) == (v && *v >= 0 && *v <= 255));

        std::array<QString, 4> parts;
        if (Split_IP_Address(text, parts)) {
            for (const QString& p : parts) {
                const std::optional<qint32> n = Parse_Int(p.trimmed());
                FUZZ_CHECK(n && *n >= 0 && *n <= 255);
            }
        }
    }
    return 0;
}
