// The function a Windows host looks up; the .def file exports it under the name `main`, which a
// C++ function may not carry itself, and on 64-bit Windows also as VSTPluginMain.
#include "base/HostInterface.h"
#include "plugin/PluginEntry.h"

extern "C" AEffect* WRENFOLD_CALL wrenfoldModuleMain(audioMasterCallback hostCallback) {
  return wrenfold::createPluginInstance(hostCallback);
}
