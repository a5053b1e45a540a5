#pragma once

#include "base/HostInterface.h"

namespace wrenfold {

// Builds one effect for a host and answers its record, or null when the host does not answer
// the version query or any part of the effect cannot be allocated. [any thread]
AEffect* createPluginInstance(audioMasterCallback hostCallback);

}  // namespace wrenfold
