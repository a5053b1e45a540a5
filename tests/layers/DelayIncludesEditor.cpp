// Must not compile: the delay engine may not see the editor. The build checks that it fails.
#include "editor/DelayEditor.h"
