#pragma once

#include <string>

namespace vembra::firebird {

// What a server's service manager says about itself.
struct ServerVersion {
    std::string version;        // isc_info_svc_server_version, e.g. "LI-V3.0.11.33637 ..."
    std::string implementation; // isc_info_svc_implementation, e.g. "Firebird/Linux/AMD/Intel/x64"
};

// Attaches to the service manager of the server ("host" or "host/port") over TCP with the user
// and password, fetches the two version strings and detaches.
ServerVersion queryServerVersion(const std::string& server, const std::string& user,
                                 const std::string& password);

} // namespace vembra::firebird
