#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// A readable account of a bank file, told apart by its size: the settings and rows of bank 1,
// or the header fields, the records in use and the checksum check of bank 2.
// Throws App_Error naming `name` and the two valid sizes for any other size.
QString Dump_Bank(const QByteArray& bytes, const QString& name);

// What no compilation writes into a bank2.bin: a fixed header field without its fixed value, a
// checksum that does not match. Empty for a sound image and for any other size.
QStringList Bank_Faults(const QByteArray& bytes);

// The checksum a bank2.bin stores and the one its header bytes give; nothing for another size.
struct Bank2_Checksum {
    quint32 stored = 0;
    quint32 computed = 0;
};
std::optional<Bank2_Checksum> Bank2_Checksum_Of(const QByteArray& bytes);
