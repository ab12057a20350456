#pragma once

#include <QStringList>

namespace vembra {

// vembra render FILE [--blob] [--scale S] -o OUT.png: draws an enhanced or placeable metafile
// (or, with --blob, a stored map: a zlib stream of one) at a scale into a PNG. Returns the exit
// code: 0 done, 1 failed, 2 usage.
int runRenderCommand(const QStringList& args);

} // namespace vembra
