#pragma once

#include <stdexcept>
#include <string>

namespace Firebird {
class IStatus;
}

namespace vembra::firebird {

// Every failure of the Firebird layer: the client library's own text plus what we were doing
// (the connection string, the statement, the column or parameter name).
class Error : public std::runtime_error {
public:
    Error(long gdsCode, const std::string& message, const std::string& context);

    // The first ISC error code of the status vector (0 for failures of our own layer).
    long gdsCode() const noexcept { return m_gdsCode; }
    const std::string& clientMessage() const noexcept { return m_message; }
    const std::string& context() const noexcept { return m_context; }

private:
    long m_gdsCode;
    std::string m_message;
    std::string m_context;
};

// Throws Error with the client's formatted text when the status holds an error.
void check(Firebird::IStatus* status, const std::string& context);

} // namespace vembra::firebird
