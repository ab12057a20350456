#include "tools/sample/system_database.h"

#include "platform/firebird/firebird_statement.h"
#include "tools/sample/map_drawing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <map>
#include <stdexcept>

namespace vembra::sample {

namespace {

firebird::Bytes bytesOf(const QByteArray& data)
{
    return firebird::Bytes{std::vector<std::uint8_t>(data.begin(), data.end())};
}

firebird::Value optionalInt(const std::optional<std::int32_t>& v)
{
    return v ? firebird::Value(std::int64_t(*v)) : firebird::Value();
}

// A file written directly is readable by everyone, like the program's other companion files.
void makeReadable(const std::string& connectionString)
{
    if (connectionString.find(':') != std::string::npos)
        return;
    QFile::setPermissions(QString::fromStdString(connectionString),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                              QFile::ReadOther);
}

} // namespace

QString connectStrOf(std::int32_t connectNo)
{
    const std::int32_t a = (connectNo - 1) / 16 + 1;
    const std::int32_t b = connectNo - (a - 1) * 16;
    return QStringLiteral("%1|%2").arg(a).arg(b);
}

std::vector<SystemNode> systemNodes(const std::vector<SampleNode>& nodes)
{
    std::vector<SystemNode> out;
    std::int32_t vembraId = std::int32_t(nodes.size());
    for (const SampleNode& n : nodes) {
        SystemNode s;
        s.id = n.id;
        s.fullName = n.name;
        s.connectStr = connectStrOf(n.connectNo);
        s.vembraId = vembraId--;
        s.jumperDistance = n.idSize;
        const std::vector<PlantDevice> plant = generatePlant(n.plant);
        switch (n.map) {
        case MapState::Drawing:
            s.map =
                zlibCompress(drawNodeMap(plant, n.plant.mapWidth, n.plant.mapHeight, n.plant.seed));
            break;
        case MapState::NotZlib:
            for (int i = 0; i < 64; ++i)
                s.map.append(char((i * 73 + 41) & 0xFF));
            break;
        case MapState::Empty:
            break;
        }
        for (const PlantDevice& d : plant) {
            SystemDevice sd;
            sd.id = d.id;
            sd.parent = d.parent;
            sd.code = d.code;
            sd.delay = d.delay;
            sd.xpage = d.xpage;
            sd.ypage = d.ypage;
            if (d.iVexel > 0)
                sd.pimId = d.iVexel;
            if (d.fVexel > 0)
                sd.fVexelId = d.fVexel;
            s.devices.push_back(sd);
        }
        out.push_back(std::move(s));
    }
    return out;
}

void writeSystemDatabase(const std::string& connectionString, const firebird::Login& login,
                         const SystemSchema& schema, const std::vector<SystemNode>& nodes)
{
    firebird::Attachment db = firebird::Attachment::create(connectionString, login);
    makeReadable(connectionString);
    db.executeImmediate("create table tbl_devicecode (id integer not null primary key, "
                        "devicecode varchar(40))");
    db.executeImmediate(std::string("create table tbl_node (id integer not null primary key, "
                                    "fullname varchar(100), connectstr varchar(20)") +
                        (schema.vembraId ? ", vembraid integer" : "") + ")");
    db.executeImmediate(std::string("create table tbl_map (nodeid integer not null, "
                                    "map blob sub_type 0") +
                        (schema.jumperDistance ? ", jumper_distance double precision" : "") + ")");
    db.executeImmediate(std::string("create table tbl_deviceinfo (id integer not null primary "
                                    "key, nodeid integer not null, devicecode integer, "
                                    "parentdeviceid integer, workdelay double precision, "
                                    "xpage double precision, ypage double precision") +
                        (schema.pimId ? ", pimid integer" : "") +
                        (schema.fVexelId ? ", FVexelID integer" : "") + ")");
    db.executeImmediate("create index ix_deviceinfo_nodeid on tbl_deviceinfo (nodeid)");
    db.executeImmediate("create index ix_map_nodeid on tbl_map (nodeid)");

    firebird::Transaction tx(db, firebird::Transaction::Access::ReadWrite);
    firebird::Statement code(db, tx);
    code.setSql("insert into tbl_devicecode (id, devicecode) values (:id, :code)");
    firebird::Statement node(db, tx);
    node.setSql(schema.vembraId ? "insert into tbl_node (id, fullname, connectstr, vembraid) "
                                  "values (:id, :name, :cs, :vid)"
                                : "insert into tbl_node (id, fullname, connectstr) "
                                  "values (:id, :name, :cs)");
    firebird::Statement map(db, tx);
    map.setSql(schema.jumperDistance
                   ? "insert into tbl_map (nodeid, map, jumper_distance) values (:id, :map, :jd)"
                   : "insert into tbl_map (nodeid, map) values (:id, :map)");
    firebird::Statement device(db, tx);
    device.setSql(std::string("insert into tbl_deviceinfo (id, nodeid, devicecode, "
                              "parentdeviceid, workdelay, xpage, ypage") +
                  (schema.pimId ? ", pimid" : "") + (schema.fVexelId ? ", FVexelID" : "") +
                  ") values (:id, :nid, :code, :parent, :delay, :xp, :yp" +
                  (schema.pimId ? ", :pim" : "") + (schema.fVexelId ? ", :fv" : "") + ")");

    std::map<QString, std::int64_t> codes;
    for (const SystemNode& n : nodes) {
        node.setParam("id", std::int64_t(n.id));
        node.setParam("name", n.fullName.toStdString());
        node.setParam("cs", n.connectStr.toStdString());
        if (schema.vembraId)
            node.setParam("vid", std::int64_t(n.vembraId));
        node.execute();
        if (n.hasMapRow) {
            map.setParam("id", std::int64_t(n.id));
            map.setParam("map", n.map.isEmpty() ? firebird::Value() : bytesOf(n.map));
            if (schema.jumperDistance)
                map.setParam("jd", n.jumperDistance ? firebird::Value(*n.jumperDistance)
                                                    : firebird::Value());
            map.execute();
        }
        for (const SystemDevice& d : n.devices) {
            auto found = codes.find(d.code);
            if (found == codes.end()) {
                found = codes.emplace(d.code, std::int64_t(codes.size()) + 1).first;
                code.setParam("id", found->second);
                code.setParam("code", d.code.toStdString());
                code.execute();
            }
            device.setParam("id", std::int64_t(d.id));
            device.setParam("nid", std::int64_t(n.id));
            device.setParam("code", found->second);
            device.setParam("parent", std::int64_t(d.parent));
            device.setParam("delay", d.delay);
            device.setParam("xp", d.xpage);
            device.setParam("yp", d.ypage);
            if (schema.pimId)
                device.setParam("pim", optionalInt(d.pimId));
            if (schema.fVexelId)
                device.setParam("fv", optionalInt(d.fVexelId));
            device.execute();
        }
    }
    code.unprepare();
    node.unprepare();
    map.unprepare();
    device.unprepare();
    tx.commit();
    db.detach();
}

QByteArray serverSettingsBlob(bool iVexel, bool fVexel)
{
    QByteArray blob(52, '\0');
    for (int i = 0; i < 50; ++i)
        blob[i] = char(0xA0 + i); // bytes the program does not read
    const int word = (iVexel ? 32 : 0) | (fVexel ? 64 : 0) | 0x0101; // other bits: not read
    blob[50] = char(word & 0xFF);
    blob[51] = char((word >> 8) & 0xFF);
    return blob;
}

void writeSettingsDatabase(const std::string& connectionString, const firebird::Login& login,
                           const std::vector<SettingRow>& rows)
{
    firebird::Attachment db = firebird::Attachment::create(connectionString, login);
    makeReadable(connectionString);
    db.executeImmediate("create table tbl_setting (id integer not null primary key, "
                        "status integer, serversettings_info blob sub_type 0)");
    firebird::Transaction tx(db, firebird::Transaction::Access::ReadWrite);
    firebird::Statement insert(db, tx);
    insert.setSql("insert into tbl_setting (id, status, serversettings_info) "
                  "values (:id, :status, :info)");
    std::int64_t id = 0;
    for (const SettingRow& row : rows) {
        insert.setParam("id", ++id);
        insert.setParam("status", std::int64_t(row.status));
        insert.setParam("info", bytesOf(row.info));
        insert.execute();
    }
    insert.unprepare();
    tx.commit();
    db.detach();
}

QString settingsDatabaseName(const QString& systemFile)
{
    const qsizetype at = systemFile.indexOf(QLatin1String(".norv"));
    if (at < 0)
        return {};
    QString name = systemFile;
    name.insert(at, QLatin1String("Settings"));
    return name;
}

void writeDemoSystemDatabases(const QString& out, std::uint64_t seed)
{
    const QString settings = settingsDatabaseName(out);
    if (settings.isEmpty())
        throw std::runtime_error("The demo system database's name must contain \".norv\".");
    for (const QString& f : {out, settings}) {
        if (QFileInfo::exists(f))
            throw std::runtime_error("File exists: " + QDir::toNativeSeparators(f).toStdString());
    }
    firebird::Login login; // the embedded engine checks no password
    writeSystemDatabase(QDir::toNativeSeparators(out).toStdString(), login, SystemSchema{},
                        systemNodes(demoNodes(seed)));
    writeSettingsDatabase(
        QDir::toNativeSeparators(settings).toStdString(), login,
        {SettingRow{1, QByteArray(52, '\0')}, SettingRow{0, serverSettingsBlob(true, true)}});
}

} // namespace vembra::sample
