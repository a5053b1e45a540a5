// Must not compile: the editor base may not see the delay effect. The build checks that it fails.
#include "delay/DelayEffect.h"
