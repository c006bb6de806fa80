#pragma once

#include <QString>

namespace app {

// The folder of the program's own run-time files (sounds and the like), found
// from the program's own location: the same relative path from the folder of
// the executables to share/velmora holds in the build folder (build/bin and
// build/share/velmora) and in an installed tree (/usr/bin and
// /usr/share/velmora), so neither needs a setting.
QString DataFolder();

} // namespace app
