#include "platform/firebird/firebird_attachment.h"

#include "platform/firebird/firebird_client.h"
#include "platform/firebird/firebird_error.h"

#include <firebird/Interface.h>

#include <utility>
#include <vector>

namespace vembra::firebird {

namespace {

// A parameter block of the client library, disposed on scope exit.
class ParameterBlock {
public:
    ParameterBlock(unsigned kind, const std::string& context) : m_context(context)
    {
        m_builder = client().util->getXpbBuilder(m_status.get(), kind, nullptr, 0);
        m_status.check(m_context);
    }
    ~ParameterBlock()
    {
        if (m_builder)
            m_builder->dispose();
    }
    ParameterBlock(const ParameterBlock&) = delete;
    ParameterBlock& operator=(const ParameterBlock&) = delete;

    void text(unsigned char tag, const std::string& value)
    {
        m_builder->insertString(m_status.get(), tag, value.c_str());
        m_status.check(m_context);
    }
    void number(unsigned char tag, int value)
    {
        m_builder->insertInt(m_status.get(), tag, value);
        m_status.check(m_context);
    }
    void tag(unsigned char value)
    {
        m_builder->insertTag(m_status.get(), value);
        m_status.check(m_context);
    }
    unsigned length()
    {
        const unsigned n = m_builder->getBufferLength(m_status.get());
        m_status.check(m_context);
        return n;
    }
    const unsigned char* bytes()
    {
        const unsigned char* b = m_builder->getBuffer(m_status.get());
        m_status.check(m_context);
        return b;
    }

private:
    Status m_status;
    std::string m_context;
    Firebird::IXpbBuilder* m_builder = nullptr;
};

void fillLogin(ParameterBlock& dpb, const Login& login)
{
    dpb.text(isc_dpb_user_name, login.user);
    dpb.text(isc_dpb_password, login.password);
    dpb.text(isc_dpb_lc_ctype, login.charset);
    if (!login.role.empty())
        dpb.text(isc_dpb_sql_role_name, login.role);
    dpb.number(isc_dpb_sql_dialect, login.dialect);
}

std::string databaseContext(const std::string& connectionString)
{
    return "Database: " + connectionString;
}

} // namespace

Attachment::~Attachment()
{
    if (!m_handle)
        return;
    Status status;
    m_handle->detach(status.get());
    if (status.get()->getState() & Firebird::IStatus::STATE_ERRORS)
        m_handle->release(); // a lost connection cannot detach; let go of the object
}

Attachment::Attachment(Attachment&& other) noexcept
    : m_handle(std::exchange(other.m_handle, nullptr)),
      m_connectionString(std::move(other.m_connectionString)), m_dialect(other.m_dialect)
{
}

Attachment& Attachment::operator=(Attachment&& other) noexcept
{
    if (this != &other) {
        Attachment old(std::move(*this));
        m_handle = std::exchange(other.m_handle, nullptr);
        m_connectionString = std::move(other.m_connectionString);
        m_dialect = other.m_dialect;
    }
    return *this;
}

Attachment Attachment::attach(const std::string& connectionString, const Login& login)
{
    const std::string context = databaseContext(connectionString);
    ParameterBlock dpb(Firebird::IXpbBuilder::DPB, context);
    fillLogin(dpb, login);
    Status status;
    Attachment a;
    a.m_handle = client().provider->attachDatabase(status.get(), connectionString.c_str(),
                                                   dpb.length(), dpb.bytes());
    status.check(context);
    a.m_connectionString = connectionString;
    a.m_dialect = login.dialect;
    return a;
}

Attachment Attachment::create(const std::string& connectionString, const Login& login)
{
    const std::string context = databaseContext(connectionString);
    ParameterBlock dpb(Firebird::IXpbBuilder::DPB, context);
    fillLogin(dpb, login);
    dpb.number(isc_dpb_page_size, 8192);
    dpb.text(isc_dpb_set_db_charset, login.charset);
    Status status;
    Attachment a;
    a.m_handle = client().provider->createDatabase(status.get(), connectionString.c_str(),
                                                   dpb.length(), dpb.bytes());
    status.check(context);
    a.m_connectionString = connectionString;
    a.m_dialect = login.dialect;
    return a;
}

std::string Attachment::firebirdVersion() const
{
    const std::string context = databaseContext(m_connectionString);
    if (!m_handle)
        throw Error(0, "The database is not connected.", context);
    const unsigned char items[] = {isc_info_firebird_version, isc_info_end};
    std::vector<unsigned char> buffer(512);
    Status status;
    m_handle->getInfo(status.get(), sizeof items, items, unsigned(buffer.size()), buffer.data());
    status.check(context);
    // isc_info_firebird_version, length (2 bytes), count of strings, then each string with
    // its length byte; the first string is the engine's own.
    if (buffer[0] != isc_info_firebird_version || buffer.size() < 5)
        throw Error(0, "The server sent no version.", context);
    const std::size_t length = std::size_t(buffer[3 + 1]);
    if (5 + length > buffer.size())
        throw Error(0, "The server sent a version that does not fit.", context);
    return std::string(reinterpret_cast<const char*>(buffer.data()) + 5, length);
}

void Attachment::executeImmediate(const std::string& sql)
{
    Transaction tx(*this, Transaction::Access::ReadWrite);
    Status status;
    m_handle->execute(status.get(), tx.handle(), 0, sql.c_str(), unsigned(m_dialect), nullptr,
                      nullptr, nullptr, nullptr);
    status.check("Statement: " + sql);
    tx.commit();
}

void Attachment::detach()
{
    if (!m_handle)
        return;
    Status status;
    m_handle->detach(status.get());
    if (status.get()->getState() & Firebird::IStatus::STATE_ERRORS) {
        m_handle->release();
        m_handle = nullptr;
        status.check(databaseContext(m_connectionString));
    }
    m_handle = nullptr;
}

Transaction::Transaction(Attachment& attachment, Access access) : m_attachment(&attachment)
{
    const std::string context = "Transaction on " + attachment.connectionString();
    if (!attachment.isAttached())
        throw Error(0, "The database is not connected.", context);
    ParameterBlock tpb(Firebird::IXpbBuilder::TPB, context);
    tpb.tag(access == Access::ReadOnly ? isc_tpb_read : isc_tpb_write);
    tpb.tag(isc_tpb_concurrency);
    tpb.tag(isc_tpb_wait);
    Status status;
    m_handle = attachment.handle()->startTransaction(status.get(), tpb.length(), tpb.bytes());
    status.check(context);
}

Transaction::~Transaction()
{
    release();
}

void Transaction::release() noexcept
{
    if (!m_handle)
        return;
    Status status;
    m_handle->rollback(status.get());
    if (status.get()->getState() & Firebird::IStatus::STATE_ERRORS)
        m_handle->release();
    m_handle = nullptr;
}

Transaction::Transaction(Transaction&& other) noexcept
    : m_handle(std::exchange(other.m_handle, nullptr)),
      m_attachment(std::exchange(other.m_attachment, nullptr))
{
}

Transaction& Transaction::operator=(Transaction&& other) noexcept
{
    if (this != &other) {
        release();
        m_handle = std::exchange(other.m_handle, nullptr);
        m_attachment = std::exchange(other.m_attachment, nullptr);
    }
    return *this;
}

void Transaction::commit()
{
    if (!m_handle)
        return;
    Status status;
    m_handle->commit(status.get());
    if (status.get()->getState() & Firebird::IStatus::STATE_ERRORS) {
        m_handle->release();
        m_handle = nullptr;
        status.check("Commit on " + (m_attachment ? m_attachment->connectionString() : ""));
    }
    m_handle = nullptr;
}

void Transaction::rollback()
{
    if (!m_handle)
        return;
    Status status;
    m_handle->rollback(status.get());
    if (status.get()->getState() & Firebird::IStatus::STATE_ERRORS) {
        m_handle->release();
        m_handle = nullptr;
        status.check("Rollback on " + (m_attachment ? m_attachment->connectionString() : ""));
    }
    m_handle = nullptr;
}

} // namespace vembra::firebird
