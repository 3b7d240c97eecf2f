// A bank file of any content, as `dump` is given it.
#include "FuzzSupport.h"

#include "app/UComon.h"
#include "compiler/BankDump.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes = Fuzz_Bytes(data, size);
    // Short inputs stand for the start of a file of a valid size, so that both layouts are
    // reached; the fuzzer rarely makes 16384 or 18432 bytes by itself.
    if (!bytes.isEmpty() && bytes.size() < 16384)
        bytes = bytes.mid(1).leftJustified(quint8(bytes[0]) % 2 ? 18432 : 16384, '\0');
    (void)Bank_Faults(bytes);
    try {
        (void)Dump_Bank(bytes, QStringLiteral("bank.bin"));
    } catch (const App_Error&) {
    }
    return 0;
}
