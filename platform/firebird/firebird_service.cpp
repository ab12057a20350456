#include "platform/firebird/firebird_service.h"

#include "platform/firebird/firebird_client.h"
#include "platform/firebird/firebird_error.h"

#include <firebird/Interface.h>

#include <memory>
#include <vector>

namespace vembra::firebird {

namespace {

struct ServiceDetach {
    void operator()(Firebird::IService* s) const noexcept
    {
        Status status;
        s->detach(status.get());
        if (status.get()->getState() & Firebird::IStatus::STATE_ERRORS)
            s->release();
    }
};

struct BuilderDispose {
    void operator()(Firebird::IXpbBuilder* b) const noexcept { b->dispose(); }
};

} // namespace

ServerVersion queryServerVersion(const std::string& server, const std::string& user,
                                 const std::string& password)
{
    const std::string name = server + ":service_mgr";
    const std::string context = "Service manager: " + name;
    Status status;
    std::unique_ptr<Firebird::IXpbBuilder, BuilderDispose> spb(
        client().util->getXpbBuilder(status.get(), Firebird::IXpbBuilder::SPB_ATTACH, nullptr, 0));
    status.check(context);
    spb->insertString(status.get(), isc_spb_user_name, user.c_str());
    spb->insertString(status.get(), isc_spb_password, password.c_str());
    status.check(context);
    const unsigned length = spb->getBufferLength(status.get());
    const unsigned char* bytes = spb->getBuffer(status.get());
    status.check(context);

    std::unique_ptr<Firebird::IService, ServiceDetach> service(
        client().provider->attachServiceManager(status.get(), name.c_str(), length, bytes));
    status.check(context);

    const unsigned char items[] = {isc_info_svc_server_version, isc_info_svc_implementation};
    std::vector<unsigned char> buffer(1024);
    service->query(status.get(), 0, nullptr, sizeof items, items, unsigned(buffer.size()),
                   buffer.data());
    status.check(context);

    // Each answer: the item, a two-byte little-endian length, the text.
    ServerVersion result;
    std::size_t at = 0;
    while (at + 3 <= buffer.size()) {
        const unsigned char item = buffer[at];
        if (item == isc_info_end || item == isc_info_truncated)
            break;
        const std::size_t n = std::size_t(buffer[at + 1]) | (std::size_t(buffer[at + 2]) << 8);
        if (at + 3 + n > buffer.size())
            throw Error(0, "The service manager sent an answer that does not fit.", context);
        std::string text(reinterpret_cast<const char*>(buffer.data()) + at + 3, n);
        if (item == isc_info_svc_server_version)
            result.version = std::move(text);
        else if (item == isc_info_svc_implementation)
            result.implementation = std::move(text);
        else
            break;
        at += 3 + n;
    }
    Firebird::IService* raw = service.release();
    raw->detach(status.get());
    if (status.get()->getState() & Firebird::IStatus::STATE_ERRORS) {
        raw->release();
        status.check(context);
    }
    return result;
}

} // namespace vembra::firebird
