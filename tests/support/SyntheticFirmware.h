#pragma once

#include <QByteArray>
#include <QByteArrayList>

// S-record text built independently of the composer, for its fixtures. Not anybody's firmware.

// One record with its byte count and checksum, without line end.
QByteArray Srec_Line(const QByteArray& type, int addressBytes, quint32 address,
                     const QByteArray& data);
QByteArray S2_Line(quint32 address, const QByteArray& data = QByteArray(32, '\x5A'));

// The 512 records of 32 bytes that show the first 16384 bytes of `image` from `first` on.
QByteArrayList Window_Lines(const QByteArray& image, quint32 first);

// `size` bytes of a pattern that differs with `seed`.
QByteArray Pattern_Image(int size, int seed);

// A small firmware: header, 16-bit records, 24-bit records before, in and after both bank
// windows (two records each), and the end record S9.
QByteArrayList Synthetic_Firmware();

QByteArray Join_Lines(const QByteArrayList& lines, const QByteArray& eol = "\r\n");
