#pragma once

#include <QByteArray>
#include <QString>

// A readable account of a bank file, told apart by its size: the settings and rows of bank 1,
// or the header fields, the records in use and the checksum check of bank 2.
// Throws App_Error naming `name` and the two valid sizes for any other size.
QString Dump_Bank(const QByteArray& bytes, const QString& name);
