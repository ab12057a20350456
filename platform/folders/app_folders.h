#pragma once

#include <QString>

namespace vembra::folders {

// The machine's data folder for applications (the generic data location), in native form with a
// trailing separator; empty when the platform gives none.
QString genericDataFolder();

// The folder of the program file, in native form with a trailing separator.
QString programFolder();

// The application folder below a data folder: <dataFolder>Norv<sep>VembraNavigator<sep>.
QString applicationFolder(const QString& dataFolder);

// The path in native form, ending in exactly one separator (an empty path stays empty).
QString withTrailingSeparator(const QString& path);

} // namespace vembra::folders
