// Must not compile: the processing units may not see the parameter model. The build checks that it
// fails.
#include "params/ParameterTable.h"
