#pragma once
// Which programs hold the embedded engine's lock files, for a message when an attach waits on
// them: read from the system's table of file locks (/proc/locks) and the programs' names.
#include <string>
#include <vector>

namespace catalogue {

// The other processes holding a lock on a file of the engine's lock folder (FIREBIRD_LOCK, else
// /tmp/firebird), as "name (process number)", in process number order; empty when the system
// does not tell.
std::vector<std::string> EngineHolders();

} // namespace catalogue
