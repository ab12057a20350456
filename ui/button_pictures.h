#pragma once

#include <QIcon>

namespace vembra::pictures {

// The small pictures of the window's buttons, drawn by the program itself.
QIcon openDatabase(); // the working database's open button
QIcon exportData();   // import from the system database
QIcon backgroundColour();
QIcon print();
QIcon settings();
QIcon search(); // "5. Get CPD candidates"
QIcon arrowUp();
QIcon arrowDown();

} // namespace vembra::pictures
