#pragma once

#include <memory>
#include <string>

namespace Firebird {
class IMaster;
class IProvider;
class IUtil;
class IStatus;
class CheckStatusWrapper;
} // namespace Firebird

namespace vembra::firebird {

// The client library's entry points, fetched once per process.
struct Client {
    Firebird::IMaster* master = nullptr;
    Firebird::IProvider* provider = nullptr;
    Firebird::IUtil* util = nullptr;
};
const Client& client();

// A status object of the client library for one call sequence; disposed on scope exit.
class Status {
public:
    Status();
    ~Status();
    Status(const Status&) = delete;
    Status& operator=(const Status&) = delete;

    // The wrapper to pass to the client's calls.
    Firebird::CheckStatusWrapper* get() const;
    // Throws Error with the context when the last call failed.
    void check(const std::string& context) const;
    // Forgets a failure (used where a failure is expected and handled).
    void clear();

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace vembra::firebird
