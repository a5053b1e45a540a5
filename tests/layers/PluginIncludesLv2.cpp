// Must not compile: the module's composition root cannot see the LV2 plug-in beside it.
#include "lv2/Lv2Effect.h"
