#pragma once

#include <QByteArray>
#include <QString>

// Step 3 of start-up: derives Dir_Program and the three folders, creating the missing ones.
// When a user data folder is set and the program folder cannot be written, Dir_Data (settings,
// MASTER, PROJECTS) is that folder, created when missing; LANGUAGE stays in the program folder.
void Set_Program_Folders(const QString& programDir);

// The writable folder to fall back on (the program sets the user's data folder); empty: none,
// the program folder is used whatever it allows.
void Set_User_Data_Folder(const QString& dir);

// Whether a file can be created in `dir`. Tried, since the permission bits do not tell (root,
// a read-only mount, Windows access lists).
bool Folder_Writable(const QString& dir);

// What start-up says when the data is kept outside the program folder and the settings file
// is not there yet (the first start so); empty otherwise.
QString Data_Folder_Notice();

// Where the program's own files go: Dir_Data, or Dir_Program before the folders are set.
QString Data_Folder();

QString Settings_File_Path();

// Reads Tessaform.xml into the shared values, each value on its own. A missing file gives the
// defaults. A file that is not well-formed leaves the defaults and throws App_Error.
void Read_Settings();

// Sets the shared values that a missing settings file leaves.
void Set_Settings_Defaults();

// The stored form of the settings file.
QByteArray Settings_Xml();

// Keeps a settings file that Read_Settings could not read under a free name beside it
// (Tessaform.xml.bad, .bad2, ...) and returns that path; empty when there is nothing to keep.
// Throws App_Error when it cannot be kept; Save_Setting then keeps trying before each write.
QString Keep_Broken_Settings();

// Writes Tessaform.xml atomically, after keeping a file that could not be read. Throws
// App_Error on failure, also for a configuration name the file could not give back as it is.
void Save_Setting();

// Step 9 of start-up: makes Conf_Name active when its folder exists (Conf_Dir), else clears
// Conf_Dir. Returns whether a configuration is active.
bool Restore_Configuration();
