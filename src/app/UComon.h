#pragma once

#include <QString>
#include <QStringList>

#include <stdexcept>

// The process-wide values every window reads and writes. One instance, `Shared`.
struct Shared_State {
    QStringList Lang_Table;
    int Lang_Count = 1000;

    QString Dir_Program;
    // Where Tessaform.xml, MASTER and PROJECTS live: Dir_Program, or the user's data folder
    // when the program folder cannot be written (an installed program).
    QString Dir_Data;
    QString Dir_Master;
    QString Dir_Projects;
    QString Dir_Language;

    QString Conf_Name;
    QString Conf_Dir; // empty: no configuration is active

    QString File_ParGen;
    QString File_Receive_Frame;
    QString File_Send_Frame;

    QString Title_Program;
    QString SW_Code;
    QString SW_Desc;

    QString Last_IP_Address = QStringLiteral("192.168.2.205");
    QString Language_Name = QStringLiteral("English");

    bool Enable_Internet = false;
    bool Enable_Update = false;
    bool Enable_Jump_Field_Tables = false;
    bool Double_Click_Auto_Size = false;

    QStringList Copy_Row_Buffer;

    // Kept for the run by the update window; never persisted.
    int Last_Update_Option = 0;
    bool Last_Read_Back = false;
};

extern Shared_State Shared;

inline const QString Title_Program_Text =
    QStringLiteral("Zorvek - Configurator SW38591 - J1939 / DeviceNet Slave ");
inline const QString SW_Code_Text = QStringLiteral("SW38591");
inline const QString SW_Desc_Text = QStringLiteral("J1939 / DeviceNet Slave - Converter");
inline const QString SW_Version_Text = QStringLiteral("2.000");
inline const QString Default_IP_Address = QStringLiteral("192.168.2.205");

// The maker's web site, and its product page of this program (opened by the main window and the
// about window).
inline const QString Maker_Site = QStringLiteral("http://www.zorvek.example");
inline const QString Product_Page_Url = Maker_Site + QStringLiteral("/HOME/default.asp?frompg=SW38591");

// An error that ends the operation the user started; its text is shown as is.
class App_Error : public std::runtime_error {
public:
    explicit App_Error(const QString& text)
        : std::runtime_error(text.toStdString()), m_text(text)
    {
    }
    const QString& text() const { return m_text; }

private:
    QString m_text;
};

// Text of an exception for the general error report.
QString Error_Text(const std::exception& e);

// Joins folder and name with the platform's separator (the stored paths use '/').
QString Path_Join(const QString& dir, const QString& name);

// Derives the three file paths of the active configuration from Conf_Dir.
void Set_Files();

// A name read from a file or typed by the user that would leave its parent folder.
bool Is_Unsafe_Path_Name(const QString& name);

// Removes blanks and control characters from both ends, like the trim the files were made for.
QString Trim_Ctrl(const QString& s);
