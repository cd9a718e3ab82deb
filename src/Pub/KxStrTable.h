#pragma once

#include <QList>

// The built-in text of a UI string id (41001..41090, 42000..42044), or null
// when the program's own table has no such id.
const char16_t* KxBuiltinString(int nId);

// Every id the built-in table holds, in ascending order.
QList<int> KxBuiltinStringIds();
