#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

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

// A program folder with MASTER and a configuration PROJECTS/A whose bin folder holds both
// images, in a temporary folder. The firmware file itself is up to the test.
struct Compose_Folder {
    Compose_Folder();

    QTemporaryDir root;
    QString master = root.filePath(QStringLiteral("MASTER"));
    QString conf = root.filePath(QStringLiteral("PROJECTS/A"));
    QString bin = conf + QStringLiteral("/bin");
    QString firmware = master + QStringLiteral("/sx38591.sx");
    QString result = conf + QStringLiteral("/New_sx38591.sx");
    QByteArray bank1 = Pattern_Image(16384, 1);
    // As the compiler writes it: frame records, then a header block that must not reach the
    // firmware.
    QByteArray bank2 = Pattern_Image(16384, 2) + QByteArray(2048, '\xEE');

    static void Write(const QString& path, const QByteArray& data);

    // The composed file for `lines`, where "BANK1" and "BANK2" stand for the image's records.
    QByteArray Expected(const QByteArrayList& lines) const;

    // Files left in the configuration and bin folders besides the images, the result and the
    // update record.
    QStringList Leftovers() const;
};
