#pragma once

#include "compiler/ConfigImage.h"

#include <QString>

// Compiles the active configuration (Shared.File_ParGen, File_Receive_Frame, File_Send_Frame)
// into the process-wide configuration image. Throws App_Error; nothing is written then.
void Compile_Bin();

// Writes bank1.bin and bank2.bin into Shared.Conf_Dir + "/bin", creating only `bin`. Throws
// App_Error; a missing configuration folder is reported, not made again.
void Save_Bin();

// Writes both bank files into `binDir` as a pair: both are replaced or neither. Creates
// `binDir` when missing. Throws App_Error naming the folder or file that cannot be written.
void Save_Bin(const QString& binDir);

// Completes or undoes an interrupted Save_Bin in `binDir`, so that the two bank files on disk
// belong together. Every reader of the bank files calls it first. Throws App_Error.
void Recover_Bank_Files(const QString& binDir);

// Serialise the frame records (16384 bytes) and the header block (2048 bytes, checksum last)
// from `start` on; each returns the position after the last byte written.
qint32 Put_Frames(qint32 start, quint8* buffer, qint32 highIndex);
qint32 Put_Header(qint32 start, quint8* buffer, qint32 highIndex);

// A frame file with more rows than both images can describe is refused: bank 2 has 256
// entries, but bank 1 keeps the count in one byte, where 256 rows would read as none.
inline constexpr int Max_Frame_Rows = Config_Image_Data::Frame_Count - 1;
