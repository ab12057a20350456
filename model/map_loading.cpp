#include "model/map_loading.h"

#include "app/dm/local_components.h"
#include "localdb/local_statements.h"
#include "platform/metafile/metafile_picture.h"
#include "platform/zlib/zlib_inflate.h"

namespace vembra {

double idSizeInRange(double stored)
{
    return (stored <= 0.000001 || stored >= 1.0) ? kDefaultIdSize : stored;
}

NodeMapResult LoadNodeMap(LocalQuery& query, std::int32_t nodeId, metafile::Picture& map)
{
    NodeMapResult result;
    query.close();
    query.setSql(QString::fromLatin1(statements::kNodeMap));
    query.prepare();
    query.setParam(QStringLiteral("nid"), nodeId);
    query.open();
    std::vector<std::uint8_t> blob;
    double stored = 0;
    if (!query.eof()) {
        const auto bytes = query.fieldAsBytes(QStringLiteral("map"));
        blob.assign(bytes.begin(), bytes.end());
        stored = query.fieldAsFloat(QStringLiteral("idsize"));
    }
    // The query lets go of the database before anything can fail.
    query.close();
    result.idSize = idSizeInRange(stored);
    const std::vector<std::uint8_t> picture = zlib::inflateStream(blob);
    map.clear();
    result.mapLoaded = map.loadFromData(picture);
    return result;
}

} // namespace vembra
