#pragma once

#include <QString>

namespace vembra::test {

// Prepares the application folder below the test's data home the way a first run leaves it:
// the default working database and the pin picture. Returns the folder.
QString prepareApplicationFolder();
// The folder itself, with a trailing separator.
QString applicationFolder();

} // namespace vembra::test
