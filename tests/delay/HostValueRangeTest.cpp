// Values a host writes outside 0..1: what it reads back and what the display shows.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>

#include "base/HostInterface.h"
#include "hostkit/Host.h"
#include "params/ParameterTable.h"
#include "plugin/PluginEntry.h"

namespace wrenfold {
namespace {

TEST(HostValueRange, OutOfRangeAndNanWritesReadBackHeldWithinZeroToOne) {
  constexpr float nan = std::numeric_limits<float>::quiet_NaN();
  constexpr float inf = std::numeric_limits<float>::infinity();
  constexpr float tiny = std::numeric_limits<float>::denorm_min();
  const struct {
    float written;
    float read;
  } cases[] = {{-1.0f, 0.0f}, {2.0f, 1.0f}, {1e30f, 1.0f}, {-1e30f, 0.0f},  {inf, 1.0f},
               {-inf, 0.0f},  {nan, 0.0f},  {tiny, tiny},  {1.0001f, 1.0f}, {0.3f, 0.3f}};
  AEffect* effect = createPluginInstance(hostkit::Host::callback());
  ASSERT_NE(effect, nullptr);
  for (int32_t index : {LpfQ, FeedBackL, WetLevelR, WetPanL, RevRelease}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(parameterName(index)) + " written " + std::to_string(c.written));
      effect->setParameter(effect, index, 0.5f);
      effect->setParameter(effect, index, c.written);
      EXPECT_EQ(effect->getParameter(effect, index), c.read);
      // The longest value text with its terminator takes 10 bytes.
      char text[64];
      std::memset(text, 'Q', sizeof text);
      effect->dispatcher(effect, effGetParamDisplay, index, 0, text, 0.0f);
      EXPECT_LT(std::strlen(text), 10u) << text;
    }
  }
  effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
}

}  // namespace
}  // namespace wrenfold
