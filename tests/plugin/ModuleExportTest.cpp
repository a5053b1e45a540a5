// Black-box checks of the built module, loaded the way a host loads it.
#include <gtest/gtest.h>

#include <cstring>

#include "base/Version.h"
#include "params/ParameterTable.h"
#include "support/ModuleFixture.h"

namespace wrenfold::testing {
namespace {

TEST(ModuleExports, BothEntryNamesAreTheSameFunction) {
  LoadedModule module;
  ASSERT_TRUE(module.loaded()) << module.error();
  void* classic = module.symbol("main");
  void* linuxEntry = module.symbol("VSTPluginMain");
  ASSERT_NE(classic, nullptr);
  EXPECT_EQ(classic, linuxEntry);
}

TEST(ModuleExports, RecordReadsAsDesigned) {
  LoadedModule module;
  ASSERT_TRUE(module.loaded()) << module.error();
  for (const char* entry : {"main", "VSTPluginMain"}) {
    SCOPED_TRACE(entry);
    AEffect* effect = module.createEffect(entry);
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->magic, 0x56737450);
    EXPECT_EQ(effect->numPrograms, 5);
    EXPECT_EQ(effect->numParams, parameterCountTotal);
    EXPECT_EQ(effect->numInputs, 2);
    EXPECT_EQ(effect->numOutputs, 2);
    EXPECT_EQ(effect->flags & ~effFlagsHasEditor, effFlagsCanMono | effFlagsCanReplacing);
    EXPECT_EQ(effect->initialDelay, 0);
    EXPECT_EQ(effect->ioRatio, 1.0f);
    EXPECT_EQ(effect->uniqueID, fourCharCode('Q', 'W', 'N', '3'));
    EXPECT_EQ(effect->version, 1);
    EXPECT_NE(effect->object, nullptr);
    EXPECT_EQ(effect->user, nullptr);
    EXPECT_EQ(effect->resvd1, 0);
    EXPECT_EQ(effect->resvd2, 0);
    const char zeros[sizeof effect->future] = {};
    EXPECT_EQ(std::memcmp(effect->future, zeros, sizeof zeros), 0);
  }
}

TEST(ModuleExports, NamesAndIdentityOpcodes) {
  LoadedModule module;
  ASSERT_TRUE(module.loaded()) << module.error();
  AEffect* effect = module.createEffect();
  ASSERT_NE(effect, nullptr);
  EXPECT_EQ(hostkit::effectText(effect, effGetEffectName), effectNameText);
  EXPECT_EQ(hostkit::effectText(effect, effGetVendorString), "hollow reed tone");
  EXPECT_EQ(hostkit::effectText(effect, effGetProductString), "hollow reed tone");
  EXPECT_EQ(effect->dispatcher(effect, effIdentify, 0, 0, nullptr, 0.0f), 0x4E764566);
  EXPECT_EQ(effect->dispatcher(effect, effGetVstVersion, 0, 0, nullptr, 0.0f), 2300);
  EXPECT_EQ(effect->dispatcher(effect, effCanDo, 0, 0, const_cast<char*>("receiveVstEvents"), 0.0f),
            0);
}

TEST(ModuleExports, TwoInstancesAreIndependent) {
  LoadedModule module;
  ASSERT_TRUE(module.loaded()) << module.error();
  AEffect* first = module.createEffect();
  AEffect* second = module.createEffect();
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  first->dispatcher(first, effSetProgram, 0, 3, nullptr, 0.0f);
  EXPECT_EQ(second->dispatcher(second, effGetProgram, 0, 0, nullptr, 0.0f), 0);
  module.closeEffect(first);
  EXPECT_EQ(second->magic, kEffectMagic);
  EXPECT_EQ(second->dispatcher(second, effGetProgram, 0, 0, nullptr, 0.0f), 0);
}

}  // namespace
}  // namespace wrenfold::testing
