// The entry point: version handshake, allocation failures, closing, independent instances.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/Allocation.h"
#include "base/ModuleState.h"
#include "host/ExtendedEffectBase.h"
#include "hostkit/Host.h"
#include "plugin/PluginEntry.h"

namespace wrenfold {
namespace {

using hostkit::Host;
const audioMasterCallback versionHost = Host::callback();

std::vector<AllocationSite> attemptedSites;
std::size_t failingAttempt = 0;

class PluginEntry : public ::testing::Test {
 protected:
  void SetUp() override {
    Host::shared().reset();
    attemptedSites.clear();
  }
  void TearDown() override {
    setAllocationFailureHook(nullptr);
    Host::shared().reset();
  }
};

TEST_F(PluginEntry, HostThatDoesNotAnswerTheVersionGetsNoRecordAndNothingIsAllocated) {
  Host::shared().setAnswer(audioMasterVersion, 0);
  setAllocationFailureHook(
      [](AllocationSite site) { return attemptedSites.push_back(site), false; });
  EXPECT_EQ(createPluginInstance(versionHost), nullptr);
  EXPECT_TRUE(Host::shared().calls().empty()) << "nothing but the version query";
  EXPECT_TRUE(attemptedSites.empty());
}

TEST_F(PluginEntry, NullCallbackGetsNoRecord) { EXPECT_EQ(createPluginInstance(nullptr), nullptr); }

TEST_F(PluginEntry, EachFailingAllocationGivesANullRecord) {
  setAllocationFailureHook(
      [](AllocationSite site) { return attemptedSites.push_back(site), false; });
  AEffect* effect = createPluginInstance(versionHost);
  ASSERT_NE(effect, nullptr);
  effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
  const std::vector<AllocationSite> sites = attemptedSites;
  ASSERT_GE(std::count(sites.begin(), sites.end(), AllocationSite::bitmap), 7);
  ASSERT_GE(std::count(sites.begin(), sites.end(), AllocationSite::control), 37);
  for (std::size_t n = 0; n < sites.size(); ++n) {
    SCOPED_TRACE("allocation " + std::to_string(n) + " of site " +
                 std::to_string(static_cast<int>(sites[n])));
    failingAttempt = n;
    attemptedSites.clear();
    setAllocationFailureHook([](AllocationSite site) {
      attemptedSites.push_back(site);
      return attemptedSites.size() - 1 == failingAttempt;
    });
    EXPECT_EQ(createPluginInstance(versionHost), nullptr);
    // A failed editor stays failed for the module; start the next round afresh.
    resetModuleStateForTesting();
  }
}

// An effect that counts its close notifications and destructions, to see the record's close entry
// at work.
int closes = 0;
int destructions = 0;
class CountingEffect : public ExtendedEffectBase {
 public:
  CountingEffect() : ExtendedEffectBase(versionHost, 1, 1) {}
  ~CountingEffect() override { ++destructions; }
  void processAdding(float**, float**, int32_t) override {}
  void onClose() override { ++closes; }
};

TEST_F(PluginEntry, CloseAnswersOneAndDestroysTheEffectOnce) {
  closes = destructions = 0;
  auto* effect = new CountingEffect;
  AEffect* record = effect->effectRecord();
  EXPECT_EQ(record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f), 1);
  EXPECT_EQ(closes, 1);
  EXPECT_EQ(destructions, 1);
}

TEST_F(PluginEntry, EntriesIgnoreARecordThatIsNotOurs) {
  AEffect stranger{};
  EXPECT_EQ(EffectBase::dispatchThunk(&stranger, effGetProgram, 0, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(EffectBase::dispatchThunk(nullptr, effClose, 0, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(EffectBase::getParameterThunk(nullptr, 0), 0.0f);
  EffectBase::setParameterThunk(nullptr, 0, 1.0f);
  EffectBase::processReplacingThunk(nullptr, nullptr, nullptr, 16);
}

}  // namespace
}  // namespace wrenfold
