#pragma once

#include "update/SxComposer.h"

#include <QByteArray>
#include <QString>

#include <array>

// What each bank window of a composed firmware must hold: the first Bank_Size bytes of the
// image; an empty entry leaves that window unchecked.
using Bank_Images = std::array<QByteArray, Bank_Count>;

// Reads a composed S-record file back before it may reach the device: every record (a line
// starting with "S" or "s" and a digit, as a flash tool may read either case) well formed with
// the right checksum, no memory address given by two records, and each checked bank window
// holding exactly its image, nothing more. Lines that are no records are left to the tool.
// Returns the reason of the first failure ("line 12: wrong checksum"), empty when it passes.
// Throws App_Error when the file cannot be read.
QString Verify_Composed(const QString& path, const Bank_Images& images);
