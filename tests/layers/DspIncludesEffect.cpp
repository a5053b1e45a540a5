// Must not compile: the processing units may not see the effect. The build checks that it fails.
#include "delay/DelayEffect.h"
