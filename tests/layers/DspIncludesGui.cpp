// Must not compile: the processing units may not see the toolkit. The build checks that it fails.
#include "gui/View.h"
