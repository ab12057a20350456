#include "app/dm/local_components.h"

#include "app/dm/connection_string.h"

#include <sqlite3.h>

namespace vembra {

namespace {

std::string parameterName(const QString& name)
{
    const std::string text = name.toStdString();
    return (!text.empty() && (text[0] == ':' || text[0] == '@' || text[0] == '$')) ? text
                                                                                   : ":" + text;
}

void bindValue(sqlite::Statement& st, const std::string& name, const ParamValue& value)
{
    if (!st.hasParameter(name))
        return; // a value left over from an earlier text of the same component
    std::visit(
        [&](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>)
                st.bindNull(name);
            else if constexpr (std::is_same_v<T, QByteArray>)
                st.bindBlob(name, std::span(reinterpret_cast<const std::uint8_t*>(v.constData()),
                                            static_cast<std::size_t>(v.size())));
            else
                st.bind(name, v);
        },
        value);
}

} // namespace

void LocalComponent::setConnection(const QString& path, const QString& password)
{
    disconnect();
    m_dataSource = path;
    m_connectionString = localConnectionString(path, password);
}

std::shared_ptr<sqlite::Database> LocalComponent::connect()
{
    return m_connections.acquire(m_dataSource);
}

LocalTable::LocalTable(LocalConnections& connections, QString tableName)
    : LocalComponent(connections), m_tableName(std::move(tableName))
{
}

void LocalTable::open()
{
    if (isOpen())
        return;
    auto db = connect();
    sqlite::Statement info = db->prepare("select name from pragma_table_info(:table)");
    info.bind(":table", m_tableName.toStdString());
    QStringList names;
    while (info.step())
        names << QString::fromStdString(info.textAt(0));
    if (names.isEmpty())
        throw sqlite::Error(SQLITE_ERROR, "no such table: " + m_tableName.toStdString(),
                            "File: " + dataSource().toStdString());
    m_fieldNames = names;
    m_db = std::move(db);
}

void LocalTable::close()
{
    m_db.reset();
    m_fieldNames.clear();
}

QStringList LocalTable::fieldNames() const
{
    return m_fieldNames;
}

void LocalCommand::setCommandText(const QString& sql)
{
    m_sql = sql;
    m_params.clear();
}

void LocalCommand::setParam(const QString& name, ParamValue value)
{
    m_params[parameterName(name)] = std::move(value);
}

void LocalCommand::execute()
{
    m_db = connect();
    sqlite::Statement st = m_db->prepare(m_sql.toStdString());
    for (const auto& [name, value] : m_params)
        bindValue(st, name, value);
    st.execute();
}

void LocalCommand::cancel()
{
    if (m_db)
        sqlite3_interrupt(m_db->handle());
    m_db.reset();
}

void LocalQuery::setSql(const QString& sql)
{
    if (m_open)
        close();
    if (sql != m_sql)
        m_stmt.reset();
    m_sql = sql;
    m_params.clear();
}

void LocalQuery::disconnect()
{
    close();
    m_stmt.reset();
    m_db.reset();
}

void LocalQuery::ensurePrepared()
{
    // The connection is kept from open to open; pointing the query elsewhere drops it.
    if (!m_db)
        m_db = connect();
    if (!m_stmt)
        m_stmt.emplace(m_db->prepare(m_sql.toStdString()));
}

void LocalQuery::prepare()
{
    ensurePrepared();
}

void LocalQuery::setParam(const QString& name, ParamValue value)
{
    m_params[parameterName(name)] = std::move(value);
}

void LocalQuery::bindAll(sqlite::Statement& st) const
{
    st.clearBindings();
    for (const auto& [name, value] : m_params)
        bindValue(st, name, value);
}

void LocalQuery::open()
{
    close();
    ensurePrepared();
    bindAll(*m_stmt);
    m_hasRow = m_stmt->step();
    m_recNo = 1;
    m_open = true;
}

void LocalQuery::close()
{
    if (m_stmt)
        m_stmt->reset();
    m_open = false;
    m_hasRow = false;
    m_recNo = 0;
    m_recordCount.reset();
}

void LocalQuery::execSql()
{
    close();
    ensurePrepared();
    bindAll(*m_stmt);
    m_stmt->execute();
}

void LocalQuery::next()
{
    if (!m_hasRow)
        return;
    m_hasRow = m_stmt->step();
    ++m_recNo;
}

int LocalQuery::recordCount()
{
    if (!m_open)
        return 0;
    if (!m_recordCount) {
        sqlite::Statement count =
            m_db->prepare("select count(*) from (" + m_sql.toStdString() + ")");
        bindAll(count);
        m_recordCount = count.step() ? count.intAt(0) : 0;
    }
    return *m_recordCount;
}

const sqlite::Statement& LocalQuery::current() const
{
    if (!m_open || !m_hasRow)
        throw sqlite::Error(SQLITE_MISUSE, "No current record.",
                            "Statement: " + m_sql.toStdString());
    return *m_stmt;
}

int LocalQuery::fieldAsInteger(const QString& name) const
{
    return current().getInt(name.toStdString());
}

double LocalQuery::fieldAsFloat(const QString& name) const
{
    return current().getDouble(name.toStdString());
}

QString LocalQuery::fieldAsString(const QString& name) const
{
    return QString::fromStdString(current().getText(name.toStdString()));
}

std::span<const std::uint8_t> LocalQuery::fieldAsBytes(const QString& name) const
{
    return current().getBlob(name.toStdString());
}

bool LocalQuery::fieldIsNull(const QString& name) const
{
    const auto& st = current();
    return st.isNull(st.columnIndex(name.toStdString()));
}

bool LocalQuery::hasField(const QString& name) const
{
    return m_stmt && m_stmt->hasColumn(name.toStdString());
}

int LocalQuery::firstColumnAsInteger() const
{
    return current().intAt(0);
}

QStringList LocalQuery::fieldNames() const
{
    QStringList names;
    if (m_stmt) {
        for (const auto& n : m_stmt->columnNames())
            names << QString::fromStdString(n);
    }
    return names;
}

} // namespace vembra
