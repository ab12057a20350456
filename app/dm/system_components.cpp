#include "app/dm/system_components.h"

#include "platform/firebird/firebird_error.h"

#include <algorithm>

namespace vembra {

SystemDatabase::~SystemDatabase()
{
    try {
        close();
    } catch (const std::exception&) {
        // The attachment's own destructor lets go of what could not be closed.
    }
}

void SystemDatabase::setLogin(const QString& user, const QString& password, const QString& charset)
{
    m_login.user = user.toStdString();
    m_login.password = password.toStdString();
    m_login.charset = charset.toStdString();
}

void SystemDatabase::open()
{
    close();
    m_attachment = firebird::Attachment::attach(m_dbName.toStdString(), m_login);
}

void SystemDatabase::close()
{
    for (SystemQuery* q : m_queries)
        q->release();
    if (m_transaction && m_transaction->active()) {
        try {
            m_transaction->commit();
        } catch (const firebird::Error&) {
            m_transaction->handle() = firebird::Transaction();
        }
    }
    try {
        m_attachment.detach();
    } catch (const firebird::Error&) {
        // A connection that is gone (server stopped) cannot detach; its handle is let go, and
        // the database is closed all the same, so that a new source can be chosen.
    }
}

QString SystemDatabase::firebirdVersion() const
{
    return QString::fromStdString(m_attachment.firebirdVersion());
}

void SystemDatabase::removeQuery(SystemQuery* query)
{
    m_queries.erase(std::remove(m_queries.begin(), m_queries.end(), query), m_queries.end());
}

SystemTransaction::~SystemTransaction()
{
    closeStatements();
    if (m_database.defaultTransaction() == this)
        m_database.setDefaultTransaction(nullptr);
}

void SystemTransaction::startTransaction()
{
    if (!active())
        m_transaction =
            firebird::Transaction(m_database.attachment(), firebird::Transaction::Access::ReadOnly);
}

void SystemTransaction::closeStatements()
{
    for (SystemQuery* q : m_database.m_queries) {
        if (&q->m_transaction == this)
            q->release();
    }
}

void SystemTransaction::commit()
{
    closeStatements();
    m_transaction.commit();
}

void SystemTransaction::rollback()
{
    closeStatements();
    m_transaction.rollback();
}

SystemQuery::SystemQuery(SystemDatabase& database, SystemTransaction& transaction, QString sql)
    : m_database(database), m_transaction(transaction), m_sql(std::move(sql))
{
    m_database.addQuery(this);
}

SystemQuery::~SystemQuery()
{
    release();
    m_database.removeQuery(this);
}

void SystemQuery::release() noexcept
{
    m_statement.reset();
}

firebird::Statement& SystemQuery::ensureStatement()
{
    if (!m_statement) {
        m_statement =
            std::make_unique<firebird::Statement>(m_database.attachment(), m_transaction.handle());
        m_statement->setSql(m_sql.toStdString());
    }
    return *m_statement;
}

void SystemQuery::setSql(const QString& sql)
{
    m_sql = sql;
    if (m_statement)
        m_statement->setSql(sql.toStdString());
}

void SystemQuery::prepare()
{
    m_transaction.startTransaction();
    ensureStatement().prepare();
}

void SystemQuery::setParam(const QString& name, firebird::Value value)
{
    ensureStatement().setParam(name.toStdString(), std::move(value));
}

void SystemQuery::paramAsString(const QString& name, const QString& text)
{
    setParam(name, text.toStdString());
}

void SystemQuery::paramAsInteger(const QString& name, std::int64_t value)
{
    setParam(name, value);
}

void SystemQuery::execQuery()
{
    m_transaction.startTransaction();
    ensureStatement().execute();
}

void SystemQuery::close()
{
    if (m_statement)
        m_statement->close();
}

void SystemQuery::next()
{
    if (m_statement)
        m_statement->next();
}

const firebird::Statement& SystemQuery::statement() const
{
    if (!m_statement)
        throw firebird::Error(0, "The statement is not open.", "Statement: " + m_sql.toStdString());
    return *m_statement;
}

bool SystemQuery::fieldIsNull(const QString& name) const
{
    return statement().isNull(name.toStdString());
}

std::int32_t SystemQuery::fieldAsInteger(const QString& name) const
{
    return statement().asInt32(name.toStdString());
}

std::int16_t SystemQuery::fieldAsSmallInt(const QString& name) const
{
    return statement().asInt16(name.toStdString());
}

double SystemQuery::fieldAsFloat(const QString& name) const
{
    return statement().asDouble(name.toStdString());
}

QString SystemQuery::fieldAsString(const QString& name) const
{
    return QString::fromStdString(statement().asText(name.toStdString()));
}

std::vector<std::uint8_t> SystemQuery::fieldAsBytes(const QString& name) const
{
    return statement().asBlob(name.toStdString());
}

int SystemQuery::fieldIndex(const QString& name) const
{
    return statement().columnIndex(name.toStdString());
}

firebird::ServerVersion ServerProperties::fetchVersionInfo() const
{
    std::string user;
    std::string password;
    for (const QString& p : m_params) {
        const qsizetype eq = p.indexOf(QLatin1Char('='));
        const QString key = p.left(eq).trimmed().toLower();
        const QString value = eq < 0 ? QString() : p.mid(eq + 1);
        if (key == QLatin1String("user_name"))
            user = value.toStdString();
        else if (key == QLatin1String("password"))
            password = value.toStdString();
    }
    return firebird::queryServerVersion(m_serverName.toStdString(), user, password);
}

} // namespace vembra
