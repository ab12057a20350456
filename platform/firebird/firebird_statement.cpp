#include "platform/firebird/firebird_statement.h"

#include "platform/firebird/firebird_attachment.h"
#include "platform/firebird/firebird_client.h"
#include "platform/firebird/firebird_error.h"
#include "platform/firebird/named_parameters.h"
#include "platform/firebird/win1251.h"

#include <firebird/Interface.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace vembra::firebird {

namespace {

constexpr unsigned kReadSegment = 65535;  // below 64 KB, the largest segment there is
constexpr unsigned kWriteSegment = 32768; // below 64 KB
constexpr unsigned kCharsetOctets = 1;

bool failed(const Status& status)
{
    return status.get()->getState() & Firebird::IStatus::STATE_ERRORS;
}

struct MetadataRelease {
    void operator()(Firebird::IMessageMetadata* m) const noexcept { m->release(); }
};
using Metadata = std::unique_ptr<Firebird::IMessageMetadata, MetadataRelease>;

struct StatementFree {
    void operator()(Firebird::IStatement* s) const noexcept
    {
        Status status;
        s->free(status.get());
        if (failed(status))
            s->release();
    }
};

struct CursorClose {
    void operator()(Firebird::IResultSet* r) const noexcept
    {
        Status status;
        r->close(status.get());
        if (failed(status))
            r->release();
    }
};

struct BlobCancel {
    void operator()(Firebird::IBlob* b) const noexcept
    {
        Status status;
        b->cancel(status.get());
        if (failed(status))
            b->release();
    }
};
using BlobHandle = std::unique_ptr<Firebird::IBlob, BlobCancel>;

std::string lower(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return out;
}

std::string rightTrimmed(std::string text)
{
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

std::int64_t parseInteger(std::string text, const std::string& context)
{
    const auto first = text.find_first_not_of(' ');
    const auto last = text.find_last_not_of(' ');
    if (first == std::string::npos)
        throw Error(0, "'' is not a valid integer value.", context);
    text = text.substr(first, last - first + 1);
    std::int64_t v = 0;
    const char* begin = text.data() + (text[0] == '+' ? 1 : 0);
    const auto [end, ec] = std::from_chars(begin, text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size())
        throw Error(0, "'" + text + "' is not a valid integer value.", context);
    return v;
}

double parseFloat(const std::string& text, const std::string& context)
{
    std::size_t used = 0;
    try {
        const double v = std::stod(text, &used);
        if (text.find_first_not_of(' ', used) == std::string::npos)
            return v;
    } catch (const std::exception&) {
    }
    throw Error(0, "'" + text + "' is not a valid floating point value.", context);
}

double power10(int exponent)
{
    return std::pow(10.0, exponent);
}

} // namespace

// What the output message says of one column, read once at prepare.
struct ColumnInfo {
    unsigned type = 0;
    unsigned offset = 0;
    unsigned nullOffset = 0;
    unsigned length = 0;
    int scale = 0;
    unsigned charset = 0;
};

struct Statement::Impl {
    PositionalSql positional;
    std::vector<ColumnInfo> columns;
    std::unique_ptr<Firebird::IStatement, StatementFree> statement;
    Metadata input;
    Metadata output;
    std::unique_ptr<Firebird::IResultSet, CursorClose> cursor;
    std::vector<unsigned char> inBuffer;
    std::vector<unsigned char> outBuffer;
    std::vector<std::string> columnNames; // lower case aliases, in order
    bool isSelect = false;

    unsigned type(Firebird::IMessageMetadata* m, unsigned i, const std::string& ctx) const
    {
        Status status;
        const unsigned t = m->getType(status.get(), i);
        status.check(ctx);
        return t;
    }
};

Statement::Statement(Attachment& attachment, Transaction& transaction)
    : m_attachment(attachment), m_transaction(transaction), m_impl(std::make_unique<Impl>())
{
}

Statement::~Statement()
{
    unprepare();
}

std::string Statement::context() const
{
    return "Statement: " + m_sql;
}

void Statement::setSql(std::string sql)
{
    close();
    if (sql != m_sql)
        unprepare();
    m_sql = std::move(sql);
    m_impl->positional = toPositional(m_sql);
    m_params.clear();
}

bool Statement::isPrepared() const noexcept
{
    return m_impl->statement != nullptr;
}

bool Statement::isOpen() const noexcept
{
    return m_impl->cursor != nullptr;
}

void Statement::unprepare() noexcept
{
    m_impl->cursor.reset();
    m_hasRow = false;
    m_impl->input.reset();
    m_impl->output.reset();
    m_impl->statement.reset();
    m_impl->columnNames.clear();
    m_impl->columns.clear();
}

void Statement::prepare()
{
    if (isPrepared())
        return;
    if (!m_attachment.isAttached())
        throw Error(0, "The database is not connected.", context());
    if (!m_transaction.isActive())
        throw Error(0, "The transaction is not active.", context());
    Status status;
    Firebird::IStatement* st = m_attachment.handle()->prepare(
        status.get(), m_transaction.handle(), 0, m_impl->positional.text.c_str(),
        unsigned(m_attachment.dialect()), Firebird::IStatement::PREPARE_PREFETCH_METADATA);
    status.check(context());
    m_impl->statement.reset(st);
    m_impl->input.reset(st->getInputMetadata(status.get()));
    status.check(context());
    m_impl->output.reset(st->getOutputMetadata(status.get()));
    status.check(context());
    const unsigned kind = st->getType(status.get());
    status.check(context());
    m_impl->isSelect = kind == isc_info_sql_stmt_select || kind == isc_info_sql_stmt_select_for_upd;

    const unsigned inLength = m_impl->input->getMessageLength(status.get());
    status.check(context());
    m_impl->inBuffer.assign(inLength, 0);
    const unsigned outLength = m_impl->output->getMessageLength(status.get());
    status.check(context());
    m_impl->outBuffer.assign(outLength, 0);
    const unsigned columns = m_impl->output->getCount(status.get());
    status.check(context());
    m_impl->columnNames.clear();
    m_impl->columns.clear();
    for (unsigned i = 0; i < columns; ++i) {
        auto* out = m_impl->output.get();
        const char* alias = out->getAlias(status.get(), i);
        status.check(context());
        m_impl->columnNames.push_back(lower(rightTrimmed(alias ? alias : "")));
        ColumnInfo c;
        c.type = out->getType(status.get(), i);
        c.offset = out->getOffset(status.get(), i);
        c.nullOffset = out->getNullOffset(status.get(), i);
        c.length = out->getLength(status.get(), i);
        c.scale = out->getScale(status.get(), i);
        c.charset = out->getCharSet(status.get(), i);
        status.check(context());
        m_impl->columns.push_back(c);
    }
}

bool Statement::hasParameter(std::string_view name)
{
    const std::string key = parameterKey(name);
    const auto& names = m_impl->positional.names;
    return std::find(names.begin(), names.end(), key) != names.end();
}

void Statement::setParam(std::string_view name, Value value)
{
    if (!hasParameter(name))
        throw Error(0, "Parameter not found: " + std::string(name), context());
    m_params[parameterKey(name)] = std::move(value);
}

void Statement::close()
{
    m_impl->cursor.reset();
    m_hasRow = false;
}

void Statement::execute()
{
    close();
    prepare();
    const std::string ctx = context();
    auto& impl = *m_impl;
    Firebird::IMessageMetadata* in = impl.input.get();
    Status status;
    const unsigned count = in->getCount(status.get());
    status.check(ctx);
    if (count != impl.positional.names.size())
        throw Error(0, "The statement has " + std::to_string(count) + " parameters.", ctx);
    std::fill(impl.inBuffer.begin(), impl.inBuffer.end(), 0);
    for (unsigned i = 0; i < count; ++i) {
        const std::string& name = impl.positional.names[i];
        const std::string pctx = ctx + "\nParameter: " + name;
        const unsigned offset = in->getOffset(status.get(), i);
        const unsigned nullOffset = in->getNullOffset(status.get(), i);
        const unsigned length = in->getLength(status.get(), i);
        const int scale = in->getScale(status.get(), i);
        const unsigned charset = in->getCharSet(status.get(), i);
        status.check(pctx);
        const unsigned t = impl.type(in, i, pctx);
        auto* nullFlag = reinterpret_cast<short*>(&impl.inBuffer[nullOffset]);
        unsigned char* data = &impl.inBuffer[offset];
        const auto found = m_params.find(name);
        if (found == m_params.end() || std::holds_alternative<std::monostate>(found->second)) {
            *nullFlag = -1; // a parameter left unassigned is NULL
            continue;
        }
        *nullFlag = 0;
        const Value& v = found->second;
        const auto asInteger = [&]() -> std::int64_t {
            if (const auto* n = std::get_if<std::int64_t>(&v))
                return *n;
            if (const auto* d = std::get_if<double>(&v))
                return std::llround(*d * power10(-scale));
            if (const auto* s = std::get_if<std::string>(&v))
                return parseInteger(*s, pctx);
            throw Error(0, "Bytes cannot be an integer.", pctx);
        };
        const auto asFloat = [&]() -> double {
            if (const auto* n = std::get_if<std::int64_t>(&v))
                return double(*n);
            if (const auto* d = std::get_if<double>(&v))
                return *d;
            if (const auto* s = std::get_if<std::string>(&v))
                return parseFloat(*s, pctx);
            throw Error(0, "Bytes cannot be a number.", pctx);
        };
        const auto asBytes = [&]() -> std::string {
            if (const auto* s = std::get_if<std::string>(&v))
                return charset == kCharsetOctets ? *s : utf8ToWin1251(*s);
            if (const auto* b = std::get_if<Bytes>(&v))
                return std::string(b->data.begin(), b->data.end());
            if (const auto* n = std::get_if<std::int64_t>(&v))
                return std::to_string(*n);
            char text[64];
            std::snprintf(text, sizeof text, "%.17g", std::get<double>(v));
            return text;
        };
        const auto scaled = [&](std::int64_t n) {
            return std::get_if<std::int64_t>(&v) && scale < 0
                       ? n * std::int64_t(std::llround(power10(-scale)))
                       : n;
        };
        switch (t) {
        case SQL_SHORT: {
            const auto n = std::int16_t(scaled(asInteger()));
            std::memcpy(data, &n, sizeof n);
            break;
        }
        case SQL_LONG: {
            const auto n = std::int32_t(scaled(asInteger()));
            std::memcpy(data, &n, sizeof n);
            break;
        }
        case SQL_INT64: {
            const std::int64_t n = scaled(asInteger());
            std::memcpy(data, &n, sizeof n);
            break;
        }
        case SQL_DOUBLE: {
            const double d = asFloat();
            std::memcpy(data, &d, sizeof d);
            break;
        }
        case SQL_FLOAT: {
            const auto f = float(asFloat());
            std::memcpy(data, &f, sizeof f);
            break;
        }
        case SQL_BOOLEAN:
            *data = asInteger() != 0 ? 1 : 0;
            break;
        case SQL_TEXT:
        case SQL_VARYING: {
            const std::string bytes = asBytes();
            if (bytes.size() > length)
                throw Error(0,
                            "Text of " + std::to_string(bytes.size()) +
                                " bytes is longer than the parameter's " + std::to_string(length) +
                                ".",
                            pctx);
            if (t == SQL_TEXT) {
                std::memset(data, ' ', length);
                std::memcpy(data, bytes.data(), bytes.size());
            } else {
                const auto n = std::uint16_t(bytes.size());
                std::memcpy(data, &n, sizeof n);
                std::memcpy(data + sizeof n, bytes.data(), bytes.size());
            }
            break;
        }
        case SQL_BLOB: {
            const std::string bytes = asBytes();
            ISC_QUAD id{};
            BlobHandle blob(m_attachment.handle()->createBlob(status.get(), m_transaction.handle(),
                                                              &id, 0, nullptr));
            status.check(pctx);
            for (std::size_t at = 0; at < bytes.size(); at += kWriteSegment) {
                const auto n = unsigned(std::min<std::size_t>(kWriteSegment, bytes.size() - at));
                blob->putSegment(status.get(), n, bytes.data() + at);
                status.check(pctx);
            }
            blob->close(status.get());
            status.check(pctx);
            blob.release();
            std::memcpy(data, &id, sizeof id);
            break;
        }
        case SQL_NULL:
            break;
        default:
            throw Error(0, "Parameters of type " + std::to_string(t) + " are not supported.", pctx);
        }
    }
    if (!m_transaction.isActive())
        throw Error(0, "The transaction is not active.", ctx);
    if (impl.isSelect) {
        impl.cursor.reset(impl.statement->openCursor(status.get(), m_transaction.handle(), in,
                                                     impl.inBuffer.data(), impl.output.get(), 0));
        status.check(ctx);
        m_hasRow = true;
        next();
    } else {
        impl.statement->execute(status.get(), m_transaction.handle(), in, impl.inBuffer.data(),
                                impl.output.get(), impl.outBuffer.data());
        status.check(ctx);
    }
}

void Statement::next()
{
    if (!m_hasRow || !m_impl->cursor)
        return;
    Status status;
    const int rc = m_impl->cursor->fetchNext(status.get(), m_impl->outBuffer.data());
    status.check(context());
    m_hasRow = rc == Firebird::IStatus::RESULT_OK;
}

int Statement::columnCount() const
{
    return int(m_impl->columnNames.size());
}

std::string Statement::columnName(int column) const
{
    return m_impl->columnNames.at(std::size_t(column));
}

bool Statement::hasColumn(std::string_view name) const
{
    const std::string key = lower(name);
    const auto& names = m_impl->columnNames;
    return std::find(names.begin(), names.end(), key) != names.end();
}

int Statement::columnIndex(std::string_view name) const
{
    const std::string key = lower(name);
    const auto& names = m_impl->columnNames;
    const auto it = std::find(names.begin(), names.end(), key);
    if (it == names.end())
        throw Error(0, "Field not found: " + std::string(name), context());
    return int(it - names.begin());
}

void Statement::checkRow(int column) const
{
    if (!m_impl->cursor || !m_hasRow)
        throw Error(0, "No current record.", context());
    if (column < 0 || column >= columnCount())
        throw Error(0, "No column " + std::to_string(column) + ".", context());
}

bool Statement::isNull(int column) const
{
    checkRow(column);
    const unsigned nullOffset = m_impl->columns[std::size_t(column)].nullOffset;
    return *reinterpret_cast<const short*>(&m_impl->outBuffer[nullOffset]) != 0;
}

std::int64_t Statement::asInt64(int column) const
{
    if (isNull(column))
        return 0;
    const ColumnInfo& c = m_impl->columns[std::size_t(column)];
    const int scale = c.scale;
    const unsigned char* data = &m_impl->outBuffer[c.offset];
    const auto rescaled = [&](std::int64_t n) {
        return scale < 0 ? std::int64_t(std::llround(double(n) * power10(scale))) : n;
    };
    switch (c.type) {
    case SQL_SHORT: {
        std::int16_t n;
        std::memcpy(&n, data, sizeof n);
        return rescaled(n);
    }
    case SQL_LONG: {
        std::int32_t n;
        std::memcpy(&n, data, sizeof n);
        return rescaled(n);
    }
    case SQL_INT64: {
        std::int64_t n;
        std::memcpy(&n, data, sizeof n);
        return rescaled(n);
    }
    case SQL_BOOLEAN:
        return *data != 0;
    case SQL_DOUBLE:
    case SQL_FLOAT:
        return std::llround(asDouble(column));
    case SQL_TEXT:
    case SQL_VARYING:
        return parseInteger(asText(column), context() + "\nColumn: " + columnName(column));
    default:
        throw Error(0, "The column cannot be read as an integer.",
                    context() + "\nColumn: " + columnName(column));
    }
}

std::int32_t Statement::asInt32(int column) const
{
    return std::int32_t(asInt64(column));
}

std::int16_t Statement::asInt16(int column) const
{
    return std::int16_t(std::uint16_t(asInt64(column) & 0xFFFF));
}

double Statement::asDouble(int column) const
{
    if (isNull(column))
        return 0;
    const ColumnInfo& c = m_impl->columns[std::size_t(column)];
    const int scale = c.scale;
    const unsigned char* data = &m_impl->outBuffer[c.offset];
    switch (c.type) {
    case SQL_DOUBLE: {
        double d;
        std::memcpy(&d, data, sizeof d);
        return d;
    }
    case SQL_FLOAT: {
        float f;
        std::memcpy(&f, data, sizeof f);
        return f;
    }
    case SQL_SHORT: {
        std::int16_t n;
        std::memcpy(&n, data, sizeof n);
        return n * power10(scale);
    }
    case SQL_LONG: {
        std::int32_t n;
        std::memcpy(&n, data, sizeof n);
        return n * power10(scale);
    }
    case SQL_INT64: {
        std::int64_t n;
        std::memcpy(&n, data, sizeof n);
        return double(n) * power10(scale);
    }
    case SQL_TEXT:
    case SQL_VARYING:
        return parseFloat(asText(column), context() + "\nColumn: " + columnName(column));
    default:
        throw Error(0, "The column cannot be read as a number.",
                    context() + "\nColumn: " + columnName(column));
    }
}

std::string Statement::asText(int column) const
{
    if (isNull(column))
        return {};
    const ColumnInfo& c = m_impl->columns[std::size_t(column)];
    const unsigned length = c.length;
    const int scale = c.scale;
    const auto* data = reinterpret_cast<const char*>(&m_impl->outBuffer[c.offset]);
    const auto text = [&](std::string bytes) {
        return c.charset == kCharsetOctets ? bytes : win1251ToUtf8(bytes);
    };
    switch (c.type) {
    case SQL_TEXT:
        return text(rightTrimmed(std::string(data, length)));
    case SQL_VARYING: {
        std::uint16_t n;
        std::memcpy(&n, data, sizeof n);
        return text(std::string(data + sizeof n, std::min<unsigned>(n, length)));
    }
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64:
        if (scale < 0) {
            char buffer[64];
            std::snprintf(buffer, sizeof buffer, "%.*f", -scale, asDouble(column));
            return buffer;
        }
        return std::to_string(asInt64(column));
    case SQL_BOOLEAN:
        return *data ? "true" : "false";
    case SQL_DOUBLE:
    case SQL_FLOAT: {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.15g", asDouble(column));
        return buffer;
    }
    case SQL_BLOB: {
        const std::vector<std::uint8_t> bytes = asBlob(column);
        return text(std::string(bytes.begin(), bytes.end()));
    }
    default:
        throw Error(0, "The column cannot be read as text.",
                    context() + "\nColumn: " + columnName(column));
    }
}

std::vector<std::uint8_t> Statement::asBlob(int column) const
{
    if (isNull(column))
        return {};
    const ColumnInfo& c = m_impl->columns[std::size_t(column)];
    const std::string ctx = context() + "\nColumn: " + columnName(column);
    Status status;
    const unsigned char* data = &m_impl->outBuffer[c.offset];
    const unsigned t = c.type;
    if (t == SQL_TEXT || t == SQL_VARYING) {
        if (t == SQL_TEXT)
            return std::vector<std::uint8_t>(data, data + c.length);
        std::uint16_t n;
        std::memcpy(&n, data, sizeof n);
        return std::vector<std::uint8_t>(data + sizeof n, data + sizeof n + n);
    }
    if (t != SQL_BLOB)
        throw Error(0, "The column is no blob.", ctx);
    ISC_QUAD id;
    std::memcpy(&id, data, sizeof id);
    BlobHandle blob(
        m_attachment.handle()->openBlob(status.get(), m_transaction.handle(), &id, 0, nullptr));
    status.check(ctx);
    std::vector<std::uint8_t> bytes;
    std::vector<std::uint8_t> segment(kReadSegment);
    for (;;) {
        unsigned got = 0;
        const int rc = blob->getSegment(status.get(), kReadSegment, segment.data(), &got);
        status.check(ctx);
        if (rc == Firebird::IStatus::RESULT_NO_DATA)
            break;
        bytes.insert(bytes.end(), segment.begin(), segment.begin() + got);
    }
    blob->close(status.get());
    status.check(ctx);
    blob.release();
    return bytes;
}

} // namespace vembra::firebird
