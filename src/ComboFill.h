#pragma once

#include <QString>

class QComboBox;

// Empties the drop-down list and fills it from an option list ("a|b|c|"),
// one item a piece; returns the number of items added.
int FillComboFromList(QComboBox* pCombo, const QString& strList);

// Fills the border list: the first piece as it is, every later piece six
// times with " 1" to " 6". Returns the number of pieces.
int FillBorderCombo(QComboBox* pCombo, const QString& strList);
