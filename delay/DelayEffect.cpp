#include "delay/DelayEffect.h"

namespace wrenfold {

DelayEffect::DelayEffect(audioMasterCallback hostCallback) : ExtendedEffectBase(hostCallback, 5, 20) {
  assignInputCount(2);
  assignOutputCount(2);
  assignUniqueId(fourCharCode('Q', 'W', 'N', '3'));
  declareReplacing(true);
  declareMono(true);
}

void DelayEffect::processAdding(float**, float**, int32_t) {}

}  // namespace wrenfold
