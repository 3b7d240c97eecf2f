#pragma once

// Compiles the active configuration (Shared.File_ParGen, File_Receive_Frame, File_Send_Frame)
// into the process-wide configuration image. Throws App_Error; nothing is written then.
void Compile_Bin();

// Writes bank1.bin and bank2.bin into Shared.Conf_Dir + "/bin". Throws App_Error.
void Save_Bin();
