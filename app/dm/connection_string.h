#pragma once

#include <QString>

namespace vembra {

// The connection string of the local components for the database file at path.
QString localConnectionString(const QString& path, const QString& password);

// The "Data Source" of a connection string; empty when it names none.
QString dataSourceOf(const QString& connectionString);

} // namespace vembra
