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
