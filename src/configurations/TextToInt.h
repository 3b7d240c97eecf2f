#pragma once

#include <QString>

#include <optional>

// The one number syntax of the system: leading spaces, optional sign, decimal or hexadecimal
// ("$", "x", "X", "0x", "0X"), nothing after the digits. Returns std::nullopt for a non-number.
std::optional<qint32> Parse_Int(const QString& text);

// Parse_Int with a fallback for texts that are not numbers.
qint32 Text_To_Int(const QString& text, qint32 def);

// True when the text is a number between low and high, both included.
bool Text_In_Range(const QString& text, qint64 low, qint64 high);

// The value of one hexadecimal digit, either case; -1 for any other character.
constexpr int Hex_Value(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}
