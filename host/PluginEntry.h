#pragma once

#include "host/HostInterface.h"

namespace wrenfold {

// Builds one effect for a host and answers its record, or null when the host does not answer
// the version query or any part of the effect cannot be allocated. [any thread]
AEffect* createPluginInstance(audioMasterCallback hostCallback);

// Returns whether an editor allocation has failed in this module; once set it stays set.
bool editorAllocationFailed();

// Records that an editor could not be allocated.
void noteEditorAllocationFailure();

}  // namespace wrenfold
