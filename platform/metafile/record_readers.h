// Entry points of the EMF and WMF record readers.
#pragma once

#include "platform/metafile/display_list.h"
#include "platform/metafile/gdi_player.h"

#include <QLoggingCategory>

#include <cstdint>
#include <span>

Q_DECLARE_LOGGING_CATEGORY(lcMetafile)

namespace vembra::metafile {

// Plays the records of an enhanced metafile (the whole file, header record first) into list.
void readEmfRecords(std::span<const std::uint8_t> bytes, DisplayList& list,
                    const DeviceInfo& device);

// Plays the records of a WMF (starting at its META header, after any placeable header).
void readWmfRecords(std::span<const std::uint8_t> bytes, DisplayList& list,
                    const DeviceInfo& device);

} // namespace vembra::metafile
