#pragma once

#include <QColor>

class QFrame;
class QLabel;
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

// Registers the program's pictures (":/pictures/..."); they live in a static library.
void Init_Pictures();
