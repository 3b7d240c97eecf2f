#pragma once

#include <QString>

#include <exception>
#include <functional>

class QDialog;
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

// The general error report: shows the error's text in an error box.
void Report_Error(const std::exception& e);

// Runs a handler the user triggered; any exception ends it and is reported, never reaching
// Qt's event loop. Returns false when it ended with an error.
bool Guarded(const std::function<void()>& handler);
