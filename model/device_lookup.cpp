#include "model/device_lookup.h"

namespace vembra {

std::int32_t currentDeviceWithCode(const NodeDeviceList& devices, const QString& code)
{
    std::int32_t found = -1;
    for (std::size_t i = 0; i < devices.size(); ++i) {
        if (devices[i].Code == code)
            found = std::int32_t(i);
    }
    return found;
}

} // namespace vembra
