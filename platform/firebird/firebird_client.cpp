#include "platform/firebird/firebird_client.h"

#include "platform/firebird/firebird_error.h"

#include <firebird/Interface.h>

#ifndef _WIN32
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vembra::firebird {

namespace {

// The engine that opens files directly keeps its locks in /tmp/firebird, which belongs to the
// server's user. A user outside that group keeps them in a folder of its own instead, so that
// a .norv file opens without a server.
void chooseLockFolder()
{
#ifndef _WIN32
    if (std::getenv("FIREBIRD_LOCK"))
        return;
    const char* shared = "/tmp/firebird";
    struct stat st {};
    if (::stat(shared, &st) != 0 || ::access(shared, W_OK | X_OK) == 0)
        return;
    const std::string own = "/tmp/firebird-" + std::to_string(::getuid());
    ::mkdir(own.c_str(), 0700);
    ::setenv("FIREBIRD_LOCK", own.c_str(), 0);
#endif
}

} // namespace

const Client& client()
{
    static const Client instance = [] {
        chooseLockFolder();
        Client c;
        c.master = Firebird::fb_get_master_interface();
        c.provider = c.master->getDispatcher();
        c.util = c.master->getUtilInterface();
        return c;
    }();
    return instance;
}

struct Status::Impl {
    Firebird::IStatus* raw;
    Firebird::CheckStatusWrapper wrapper;
    Impl() : raw(client().master->getStatus()), wrapper(raw) {}
    ~Impl() { raw->dispose(); }
};

Status::Status() : m_impl(std::make_unique<Impl>()) {}

Status::~Status() = default;

Firebird::CheckStatusWrapper* Status::get() const
{
    return &m_impl->wrapper;
}

void Status::check(const std::string& context) const
{
    firebird::check(&m_impl->wrapper, context);
}

void Status::clear()
{
    m_impl->wrapper.init();
}

} // namespace vembra::firebird
