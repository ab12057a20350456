#include "import/batch_import.h"

#include "app/dm/data_module.h"
#include "import/destination.h"
#include "import/node_transfer.h"
#include "import/source_connection.h"

namespace vembra {

namespace {

// Progress lines for a scripted run.
class LineObserver : public TransferObserver {
public:
    LineObserver(const std::function<void(const QString&)>& progress, int total)
        : m_progress(progress), m_total(total)
    {
    }
    void nodeStarted(int index, const QString& name) override
    {
        m_name = name;
        m_index = index;
        m_done = 0;
    }
    void deviceCountKnown(int count) override
    {
        m_count = count;
        report(QStringLiteral("[%1/%2] %3: %4 devices")
                   .arg(m_index + 1)
                   .arg(m_total)
                   .arg(m_name)
                   .arg(count));
    }
    bool deviceWritten() override
    {
        if (++m_done % 10000 == 0)
            report(QStringLiteral("  %1 of %2").arg(m_done).arg(m_count));
        return true;
    }

private:
    void report(const QString& line)
    {
        if (m_progress)
            m_progress(line);
    }
    const std::function<void(const QString&)>& m_progress;
    int m_total;
    QString m_name;
    int m_index = 0;
    int m_count = 0;
    int m_done = 0;
};

} // namespace

BatchImportOptions parseImportArguments(const QStringList& args)
{
    BatchImportOptions o;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const auto value = [&]() -> QString {
            if (i + 1 >= args.size())
                throw ImportUsageError(a.toStdString() + " needs a value");
            return args[++i];
        };
        if (a == QLatin1String("--source")) {
            o.source = value();
        } else if (a == QLatin1String("--node")) {
            o.nodes << value();
        } else if (a == QLatin1String("--all")) {
            o.all = true;
        } else if (a == QLatin1String("--dest")) {
            o.dest = value();
            o.destGiven = true;
        } else if (a == QLatin1String("--clear")) {
            o.clear = true;
        } else {
            throw ImportUsageError("unexpected argument: " + a.toStdString());
        }
    }
    if (o.source.isEmpty())
        throw ImportUsageError("--source is required");
    if (o.all == !o.nodes.isEmpty())
        throw ImportUsageError("give either --all or one or more --node NAME");
    if (o.destGiven && o.dest.isEmpty())
        throw ImportUsageError("--dest needs a name");
    return o;
}

BatchImportResult runBatchImport(TDM& dm, const BatchImportOptions& options,
                                 const QString& appFolder, const QString& exeDir,
                                 const std::function<void(const QString&)>& progress)
{
    SourceState state;
    ConnectSource(dm, options.source, state);
    if (!state.listed)
        throw std::runtime_error(
            (state.status1 + QLatin1Char(' ') + state.status2).trimmed().toStdString());
    const QStringList names = options.all ? state.nodes : options.nodes;

    const QString dest = options.destGiven ? options.dest : destinationNameFromPath(options.source);
    if (dest.isEmpty())
        throw ImportUsageError("the source names no destination; give --dest NAME");
    PrepareDestination(dm, dest, appFolder, exeDir, [](const QString&) { return true; });
    struct CloseTables {
        TDM& d;
        ~CloseTables()
        {
            d.T2.close();
            d.T1.close();
        }
    } closeTables{dm};
    BatchImportResult result;
    result.destination = destinationPath(appFolder, dest);
    if (options.clear)
        clearDestination(dm);

    const TransferColumns columns = probeTransferColumns(dm, state.HasJumperDistance);
    LineObserver observer(progress, int(names.size()));
    for (int i = 0; i < names.size(); ++i) {
        if (transferNode(dm, i, names[i], columns, observer) == NodeOutcome::NotInSource) {
            result.missing << names[i];
            if (progress)
                progress(QStringLiteral("[%1/%2] %3: not in the source, left as it was")
                             .arg(i + 1)
                             .arg(names.size())
                             .arg(names[i]));
        } else {
            ++result.written;
        }
    }
    return result;
}

} // namespace vembra
