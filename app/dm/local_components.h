#pragma once

#include "app/dm/local_connections.h"
#include "platform/sqlite/sqlite_statement.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace vembra {

// What every local component has: its own connection string, naming the file it works on.
class LocalComponent {
public:
    explicit LocalComponent(LocalConnections& connections) : m_connections(connections) {}
    virtual ~LocalComponent() = default;

    LocalComponent(const LocalComponent&) = delete;
    LocalComponent& operator=(const LocalComponent&) = delete;

    // Points the component at the file; an open component must be closed first.
    void setConnection(const QString& path, const QString& password);
    const QString& connectionString() const { return m_connectionString; }
    const QString& dataSource() const { return m_dataSource; }

    // Lets go of the file the component holds; called before it is pointed elsewhere.
    virtual void disconnect() {}

protected:
    std::shared_ptr<sqlite::Database> connect();

private:
    LocalConnections& m_connections;
    QString m_connectionString;
    QString m_dataSource;
};

// A table of the working database, kept open to hold the file and to report its columns.
class LocalTable : public LocalComponent {
public:
    LocalTable(LocalConnections& connections, QString tableName);

    const QString& tableName() const { return m_tableName; }
    void open();
    void close();
    bool isOpen() const { return m_db != nullptr; }
    // The column names as the database lists them, in their order and spelling.
    QStringList fieldNames() const;

    void disconnect() override { close(); }

private:
    QString m_tableName;
    std::shared_ptr<sqlite::Database> m_db;
    QStringList m_fieldNames;
};

// The master link of a detail table: names the master table and the linking fields.
struct LocalDataSource {
    LocalTable* dataSet = nullptr;
};

// A named parameter value of a statement.
using ParamValue = std::variant<std::monostate, int, long long, double, std::string, QByteArray>;

// Runs statements that return no rows.
class LocalCommand : public LocalComponent {
public:
    using LocalComponent::LocalComponent;

    void setCommandText(const QString& sql);
    const QString& commandText() const { return m_sql; }
    void setParam(const QString& name, ParamValue value);
    void execute();
    // Stops whatever the command is doing and lets go of its file.
    void cancel();

    void disconnect() override { cancel(); }

private:
    QString m_sql;
    std::map<std::string, ParamValue> m_params;
    std::shared_ptr<sqlite::Database> m_db;
};

// A query over the working database: text, named parameters, open, walk the rows, read columns.
class LocalQuery : public LocalComponent {
public:
    using LocalComponent::LocalComponent;

    void setSql(const QString& sql);
    const QString& sql() const { return m_sql; }
    // Prepares the statement now (it is prepared on open otherwise).
    void prepare();
    bool isPrepared() const { return m_stmt.has_value(); }
    // Binds on the next open; "nid" and ":nid" name the same parameter.
    void setParam(const QString& name, ParamValue value);

    void open();
    void close();
    bool isOpen() const { return m_open; }
    // Runs a statement without rows (insert, delete) with the parameters set.
    void execSql();

    bool eof() const { return !m_hasRow; }
    void next();
    // Position of the current row, counted from 1; 0 before the first and past the last.
    int recNo() const { return m_hasRow ? m_recNo : 0; }
    int recordCount();

    int fieldAsInteger(const QString& name) const;
    double fieldAsFloat(const QString& name) const;
    QString fieldAsString(const QString& name) const;
    std::span<const std::uint8_t> fieldAsBytes(const QString& name) const;
    bool fieldIsNull(const QString& name) const;
    bool hasField(const QString& name) const;
    int firstColumnAsInteger() const;
    QStringList fieldNames() const;

    void disconnect() override;

private:
    void ensurePrepared();
    void bindAll(sqlite::Statement& st) const;
    const sqlite::Statement& current() const;

    QString m_sql;
    std::map<std::string, ParamValue> m_params;
    std::shared_ptr<sqlite::Database> m_db;
    std::optional<sqlite::Statement> m_stmt;
    bool m_open = false;
    bool m_hasRow = false;
    int m_recNo = 0;
    std::optional<int> m_recordCount;
};

// Closes a query on every way out of a scope, so no half-read result keeps the file locked.
class QueryCloser {
public:
    explicit QueryCloser(LocalQuery& query) : m_query(query) {}
    ~QueryCloser() { m_query.close(); }
    QueryCloser(const QueryCloser&) = delete;
    QueryCloser& operator=(const QueryCloser&) = delete;

private:
    LocalQuery& m_query;
};

} // namespace vembra
