#pragma once

#include <QString>
#include <QStringList>

// The refusal of Create_Configuration_Folder when `projectsDir` itself is missing; its message
// is followed by the folder.
inline constexpr int Missing_Projects_Folder = 112;

// Creates the configuration folder `name` under `projectsDir` with its empty `bin` folder.
// Returns 0 when created, else the number of the message that refuses the name: 107 empty,
// 106 a folder of that name exists, 105 a name that would leave `projectsDir`, that the
// settings file could not hold as it is (a control character, CR or LF) or that the file
// system refuses; Missing_Projects_Folder. The name is taken exactly as typed.
int Create_Configuration_Folder(const QString& projectsDir, const QString& name);

// The text of a refusal of Create_Configuration_Folder.
QString Refusal_Text(int refusal, const QString& projectsDir);

// Makes `name` the active configuration (Conf_Name, Conf_Dir, the three file paths); an empty
// name leaves no configuration active. Returns whether one is active.
bool Activate_Configuration(const QString& name);

// Names of the sub-folders of `projectsDir` in the order the file system gives them; files,
// hidden folders and links leading outside `projectsDir` are never listed.
QStringList Configuration_Folders(const QString& projectsDir);

// Index of the entry equal to `name`, else of the first equal ignoring the case of the letters
// a to z, else -1.
int Search_Configuration(const QStringList& list, const QString& name);

// Index of the first entry equal to `name` ignoring the case of the letters a to z, or -1.
int Search_Name_Ignoring_Case(const QStringList& list, const QString& name);

// Name of the active configuration: Conf_Dir after Dir_Projects and the separator.
QString Active_Configuration_Name();

// Sorts configuration names ignoring letter case; names equal but for case keep a fixed order.
void Sort_Configuration_Names(QStringList& names);

// The entries of a configuration folder that a copy leaves out: the images, the composed
// firmware and the update record belong to the device they were sent to, not to the settings.
bool Is_Left_Out_Of_Copy(const QString& entryName);
inline const QString Update_Log_File_Name = QStringLiteral("update-log.csv");

// Copies configuration `from` to the new configuration `to` (with an empty `bin`), leaving out
// what Is_Left_Out_Of_Copy names, hidden entries and links. The copy is made under a hidden
// temporary name and renamed into place, so a failure leaves no half copy. Returns 0, or the
// refusal of the name as Create_Configuration_Folder does. Throws App_Error naming the file
// that could not be copied, or the folder when `from` does not exist.
int Duplicate_Configuration(const QString& projectsDir, const QString& from, const QString& to);

// Renames configuration `from` to `to` (a change of letter case alone included); the active
// configuration stays active under its new name. Returns 0 or the refusal of the name; throws
// App_Error when `from` does not exist or the file system refuses.
int Rename_Configuration(const QString& projectsDir, const QString& from, const QString& to);

// Deletes configuration `name`: into the system's trash where that works (unless `toTrash` is
// false), else removed; a link is removed, never what it leads to. The active configuration is
// closed. Returns true when it went to the trash; throws App_Error naming the folder when it
// could not be deleted.
bool Delete_Configuration(const QString& projectsDir, const QString& name, bool toTrash = true);

// Whether `name`, as listed under `projectsDir`, is the active configuration.
bool Is_Active_Configuration(const QString& projectsDir, const QString& name);
