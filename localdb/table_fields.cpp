#include "localdb/table_fields.h"

#include "app/dm/local_components.h"

namespace vembra {

bool TableHasField(const LocalTable& table, const QString& fieldName)
{
    const QStringList names = table.fieldNames();
    for (const QString& name : names) {
        if (name.compare(fieldName, Qt::CaseSensitive) == 0)
            return true;
    }
    return false;
}

} // namespace vembra
