#pragma once

// Shared by the fuzz targets: every reader of outside input gets the bytes as the program
// would, from a file in a folder of its own.

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

// A folder that lives as long as the process.
QString Fuzz_Dir();
// Writes `data` to `name` in Fuzz_Dir() and returns its path.
QString Fuzz_File(const QString& name, const QByteArray& data);
// The input as bytes.
inline QByteArray Fuzz_Bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}
// The input cut into `parts` pieces at the byte 0x00 (missing pieces are empty).
QList<QByteArray> Fuzz_Parts(const QByteArray& input, int parts);

// A broken property: reported and aborted, so that the fuzzer keeps the input.
[[noreturn]] void Fuzz_Fail(const char* what);
#define FUZZ_CHECK(cond)                                                                           \
    do {                                                                                           \
        if (!(cond))                                                                               \
            Fuzz_Fail(#cond);                                                                      \
    } while (false)
