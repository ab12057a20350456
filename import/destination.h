#pragma once

#include <QString>

#include <functional>

namespace vembra {

class TDM;

// The working database an import writes into: <appFolder><name>.mdb.
QString destinationPath(const QString& appFolder, const QString& dbName);

// The question asked before an existing destination is reused.
QString destinationExistsQuestion(const QString& path);

// What PrepareDestination did.
enum class DestinationOutcome {
    Unchanged, // empty name, or No to the question: the components stay where they were
    Pointed    // the components point at the named file
};

// Points the local components at the destination named dbName: an existing file after the
// question (askReuse), else a copy of the template srcres.dat from exeDir. A copy that fails is
// reported at once with the reason.
DestinationOutcome PrepareDestination(TDM& dm, const QString& dbName, const QString& appFolder,
                                      const QString& exeDir,
                                      const std::function<bool(const QString&)>& askReuse);

// Deletes every node of the working database the components point at (their devices go along).
void clearDestination(TDM& dm);

} // namespace vembra
