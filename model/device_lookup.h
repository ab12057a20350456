#pragma once

#include "model/node_records.h"

namespace vembra {

// The device a code chooses as the current device: the last one, in index order, whose code
// equals the text exactly; -1 when no device has it.
std::int32_t currentDeviceWithCode(const NodeDeviceList& devices, const QString& code);

} // namespace vembra
