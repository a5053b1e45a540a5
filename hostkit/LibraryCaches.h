#pragma once

namespace wrenfold::hostkit {

// Frees cairo's and fontconfig's caches, when the program uses them, so that a leak checker sees
// only the program's own leaks; a program calls it once at its very end (a module never may: its
// host shares those libraries). Nothing on Windows. [main thread, at exit]
void releaseLibraryCaches();

}  // namespace wrenfold::hostkit
