#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace Firebird {
class IAttachment;
class ITransaction;
} // namespace Firebird

namespace vembra::firebird {

// The login of an attachment: our databases are reached as SYSDBA in WIN1251, dialect 3.
struct Login {
    std::string user = "SYSDBA";
    std::string password;
    std::string charset = "WIN1251";
    std::string role; // empty: none asked for
    int dialect = 3;
};

// One attachment to a database: "host:path", "host/port:path", or a file path opened by the
// embedded engine. Detaches on destruction.
class Attachment {
public:
    Attachment() = default;
    ~Attachment();
    Attachment(Attachment&&) noexcept;
    Attachment& operator=(Attachment&&) noexcept;
    Attachment(const Attachment&) = delete;
    Attachment& operator=(const Attachment&) = delete;

    // Attaches to an existing database.
    static Attachment attach(const std::string& connectionString, const Login& login);
    // Creates a new database (page size 8 KB, default character set WIN1251) and attaches.
    static Attachment create(const std::string& connectionString, const Login& login);

    bool isAttached() const noexcept { return m_handle != nullptr; }
    const std::string& connectionString() const noexcept { return m_connectionString; }
    int dialect() const noexcept { return m_dialect; }
    Firebird::IAttachment* handle() const noexcept { return m_handle; }

    // The engine's version string (isc_info_firebird_version), e.g. "LI-V3.0.11.33637 ...".
    std::string firebirdVersion() const;
    // Runs a statement without parameters or rows (DDL) in its own transaction and commits.
    void executeImmediate(const std::string& sql);
    // Detaches; failures are reported. Afterwards the object is unattached.
    void detach();

private:
    Firebird::IAttachment* m_handle = nullptr;
    std::string m_connectionString;
    int m_dialect = 3;
};

// A transaction of an attachment; rolls back on destruction unless committed.
class Transaction {
public:
    enum class Access { ReadOnly, ReadWrite };

    Transaction() = default;
    Transaction(Attachment& attachment, Access access);
    ~Transaction();
    Transaction(Transaction&&) noexcept;
    Transaction& operator=(Transaction&&) noexcept;
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    bool isActive() const noexcept { return m_handle != nullptr; }
    Firebird::ITransaction* handle() const noexcept { return m_handle; }
    Attachment* attachment() const noexcept { return m_attachment; }
    void commit();
    void rollback();

private:
    void release() noexcept;
    Firebird::ITransaction* m_handle = nullptr;
    Attachment* m_attachment = nullptr;
};

} // namespace vembra::firebird
