#pragma once

#include <QByteArray>
#include <QDomDocument>
#include <QString>

#include "configurations/SafeFile.h"

// Loads an XML file into a DOM tree. Throws App_Error naming the file, the parser's reason,
// the line and the beginning of the offending text when it is not well-formed, or the
// reason when it cannot be read.
QDomDocument Load_Xml_File(const QString& path);

// Same for bytes already read; `name` is the file name used in the message.
QDomDocument Parse_Xml_Bytes(const QByteArray& bytes, const QString& name);


// Text of the first child element `name` of `parent`; nullopt-like: `found` tells presence.
QString Child_Text(const QDomNode& parent, const QString& name, bool* found = nullptr);

// The text on one line, for a message or a line of output: line breaks, tabs and other
// control characters written as escapes (\n, \r, \t, \xHH).
QString One_Line_Text(const QString& text);
