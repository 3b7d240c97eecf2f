#pragma once

#include <array>

class QLineEdit;

// Lets a whole dotted address ("10.1.2.3") pasted into the first of four number fields fill
// all four. Each field keeps its text as given; the window's own checks judge it as typed.
void Spread_Pasted_Address(const std::array<QLineEdit*, 4>& fields);
