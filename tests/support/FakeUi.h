#pragma once

#include "app/UserInteraction.h"
#include "support/TestSupport.h"

#include <QList>
#include <QString>

#include <functional>

class QDialog;

// Records every box and modal showing; answers questions from a script (default: Yes).
// Installs itself on construction and restores the Qt implementation on destruction.
class Fake_Ui final : public User_Interaction {
public:
    enum class Kind { Error, Warning, Info, Confirm };
    struct Box {
        Kind kind;
        QString text;
    };

    Fake_Ui();
    ~Fake_Ui() override;

    void Error_Box(const QString& text) override;
    void Warning_Box(const QString& text) override;
    void Info_Box(const QString& text) override;
    bool Confirm_Box(const QString& text) override;
    int Show_Modal(QDialog* dialog) override;
    void Open_Url(const QString& url) override;

    QList<Box> boxes;
    QList<bool> answers;          // answers to Confirm_Box in order; Yes when exhausted
    QList<QString> shownDialogs;  // objectName of each dialog shown modally
    QList<QString> openedUrls;
    // Called for a modal showing instead of exec(): drive the dialog, return its result.
    // Without one the dialog is shown (its show handlers run), then rejected.
    std::function<int(QDialog*)> onModal;

    QStringList texts() const;
    void clear();
};

// What a window test starts from: a program folder of its own and the fake boxes. The windows
// go first, then the boxes, then the folder.
struct Window_Test_Env {
    Program_Folder folder;
    Fake_Ui ui;
    ~Window_Test_Env();
};
