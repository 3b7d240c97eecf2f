#pragma once

#include <QString>

#include <exception>
#include <functional>

class QDialog;
class QMessageBox;
class QWidget;

// Every box, modal showing and browser opening of the windows goes through here, so that
// tests can answer them without a user.
class User_Interaction {
public:
    virtual ~User_Interaction() = default;
    virtual void Error_Box(const QString& text) = 0;
    virtual void Warning_Box(const QString& text) = 0;
    virtual void Info_Box(const QString& text) = 0;
    // Yes/No question; true only for Yes.
    virtual bool Confirm_Box(const QString& text) = 0;
    // Shows a window modally and returns its result (QDialog::Accepted or Rejected).
    virtual int Show_Modal(QDialog* dialog) = 0;
    virtual void Open_Url(const QString& url) = 0;
};

// The current implementation: the Qt one unless a test installed another.
User_Interaction& Ui();
// Installs `ui` (not owned); nullptr restores the Qt implementation.
void Set_Ui(User_Interaction* ui);

// First of the four string-table texts of the Yes, No, OK and Cancel buttons of message boxes.
inline constexpr int Msg_Box_Yes = 132;

// Gives the standard buttons of `box` their texts in the user's language; for any box a window
// builds itself.
void Set_Box_Button_Texts(QMessageBox& box);

// The general error report: shows the error's text in an error box.
void Report_Error(const std::exception& e);

// Runs a handler the user triggered; any exception ends it and is reported, never reaching
// Qt's event loop. Returns false when it ended with an error.
bool Guarded(const std::function<void()>& handler);
