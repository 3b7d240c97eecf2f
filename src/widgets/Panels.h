#pragma once

#include <QColor>
#include <QString>

class QBoxLayout;
class QFrame;
class QLabel;
class QPushButton;
class QWidget;

// The look shared by the windows: product code and titles in grey, coloured panels.
inline const QColor Window_Colour(248, 247, 237);
inline const QColor Title_Grey(110, 110, 110);

void Set_Large_Grey(QLabel* label);
void Set_Bold_Grey(QLabel* label);
void Set_Grey(QLabel* label);

// A panel filled with `colour`, named `name`.
QFrame* New_Panel(QWidget* parent, const char* name, const QColor& colour);

// Style sheet of push buttons: light face, orange while pressed.
extern const char* const Button_Style;

// Light background and the button look; `extraStyle` is added to the style sheet.
void Set_Window_Look(QWidget* window, const QString& extraStyle = QString());

void Centre_On_Screen(QWidget* window);

// A fixed-size window with only a close box.
void Set_Fixed_Border(QWidget* window);

// The layout of a dialog: a white title panel with the product code (`L_SW_Code`, set to
// SW_Code) and a subtitle (`L_SW_Desc`), the body, and a bottom panel with `Btn_OK` and
// `Btn_Cancel` at its right.
struct Dialog_Frame {
    QLabel* code = nullptr;
    QLabel* subtitle = nullptr;
    QBoxLayout* body = nullptr;
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
};
Dialog_Frame New_Dialog_Frame(QWidget* dialog);

// Registers the program's pictures (":/pictures/..."); they live in a static library.
void Init_Pictures();
