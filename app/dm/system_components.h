#pragma once

#include "platform/firebird/firebird_attachment.h"
#include "platform/firebird/firebird_service.h"
#include "platform/firebird/firebird_statement.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace vembra {

class SystemTransaction;
class SystemQuery;

// A connection to a Firebird database of the system (FDB, SDB): its connection string, its login
// and its default transaction. Closing it closes its statements and ends its transaction.
class SystemDatabase {
public:
    SystemDatabase() = default;
    ~SystemDatabase();
    SystemDatabase(const SystemDatabase&) = delete;
    SystemDatabase& operator=(const SystemDatabase&) = delete;

    // "host:path", "host/port:path" or a file path.
    void setDBName(const QString& connectionString) { m_dbName = connectionString; }
    const QString& dbName() const { return m_dbName; }
    // The login the data module's creation sets: user name, password, character set.
    void setLogin(const QString& user, const QString& password, const QString& charset);
    // Further parameters such as "sql_role_name=".
    void setRole(const QString& role) { m_login.role = role.toStdString(); }
    const firebird::Login& login() const { return m_login; }
    void setDefaultTransaction(SystemTransaction* transaction) { m_transaction = transaction; }
    SystemTransaction* defaultTransaction() const { return m_transaction; }

    // Attaches with the login; an open connection is closed first.
    void open();
    // Closes the statements, ends the transaction and detaches; a lost connection is let go.
    void close();
    bool connected() const { return m_attachment.isAttached(); }
    // The engine's version string; its first two characters name its platform.
    QString firebirdVersion() const;
    firebird::Attachment& attachment() { return m_attachment; }

private:
    friend class SystemQuery;
    friend class SystemTransaction;
    void addQuery(SystemQuery* query) { m_queries.push_back(query); }
    void removeQuery(SystemQuery* query);

    QString m_dbName;
    firebird::Login m_login;
    firebird::Attachment m_attachment;
    SystemTransaction* m_transaction = nullptr;
    std::vector<SystemQuery*> m_queries;
};

// The transaction of a system database (FTrans, STrans): started when a statement needs it,
// rolled back when its database closes without a commit.
class SystemTransaction {
public:
    explicit SystemTransaction(SystemDatabase& database) : m_database(database) {}
    // Rolls back and stops being its database's default transaction.
    ~SystemTransaction();
    SystemTransaction(const SystemTransaction&) = delete;
    SystemTransaction& operator=(const SystemTransaction&) = delete;

    // Starts the transaction unless it is active.
    void startTransaction();
    bool active() const { return m_transaction.isActive(); }
    // Ends the transaction, closing its statements first.
    void commit();
    void rollback();
    // Closes every statement running in it (they must not outlive it).
    void closeStatements();
    SystemDatabase& database() const { return m_database; }
    firebird::Transaction& handle() { return m_transaction; }

private:
    SystemDatabase& m_database;
    firebird::Transaction m_transaction;
};

// A statement on a system database (FDSet, Q1, sQ1): text, named parameters, execute, walk the
// rows, read columns by name. It starts its transaction when that is not active.
class SystemQuery {
public:
    SystemQuery(SystemDatabase& database, SystemTransaction& transaction, QString sql = {});
    ~SystemQuery();
    SystemQuery(const SystemQuery&) = delete;
    SystemQuery& operator=(const SystemQuery&) = delete;

    // A new text; the parameters set before are forgotten.
    void setSql(const QString& sql);
    QString sql() const { return m_sql; }
    // Prepares the text in its transaction (started when needed).
    void prepare();
    bool prepared() const { return m_statement && m_statement->isPrepared(); }
    // Binds by name on the next execQuery; a name the text lacks throws.
    void setParam(const QString& name, firebird::Value value);
    void paramAsString(const QString& name, const QString& text);
    void paramAsInteger(const QString& name, std::int64_t value);

    // Runs the text; a select stands on its first row afterwards.
    void execQuery();
    // A data set's open: the same as execQuery.
    void open() { execQuery(); }
    // Closes the rows; the statement stays prepared.
    void close();
    bool active() const { return m_statement && m_statement->isOpen(); }
    bool eof() const { return !m_statement || m_statement->eof(); }
    void next();

    // Column reads by name; NULL reads as 0, the empty text or no bytes.
    bool fieldIsNull(const QString& name) const;
    std::int32_t fieldAsInteger(const QString& name) const;
    std::int16_t fieldAsSmallInt(const QString& name) const;
    double fieldAsFloat(const QString& name) const;
    QString fieldAsString(const QString& name) const;
    std::vector<std::uint8_t> fieldAsBytes(const QString& name) const;
    // Position-based reads for walks over many rows.
    int fieldIndex(const QString& name) const;
    const firebird::Statement& statement() const;

private:
    friend class SystemDatabase;
    friend class SystemTransaction;
    void release() noexcept;
    firebird::Statement& ensureStatement();

    SystemDatabase& m_database;
    SystemTransaction& m_transaction;
    QString m_sql;
    std::unique_ptr<firebird::Statement> m_statement;
};

// The server-properties service (srvProp): the platform and version of a server.
class ServerProperties {
public:
    // "host" or "host/port"; the protocol is TCP.
    void setServerName(const QString& name) { m_serverName = name; }
    const QString& serverName() const { return m_serverName; }
    // "user_name=..." and "password=..." lines.
    void setParams(const QStringList& params) { m_params = params; }
    const QStringList& params() const { return m_params; }

    // Attaches, fetches the version information and detaches.
    firebird::ServerVersion fetchVersionInfo() const;

private:
    QString m_serverName;
    QStringList m_params;
};

} // namespace vembra
