// Must not compile: the toolkit may not see the effect's layer. The build checks that it fails.
#include "host/EffectBase.h"
