// Must not compile: the effect side of the base classes may not see the toolkit. The build checks
// that it fails.
#include "gui/View.h"
