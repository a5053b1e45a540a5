// Parameter writes and program changes between two processing calls are carried out together at
// the start of the next one; the block must sound exactly as if each had been carried out alone.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "delay/DelayEffect.h"
#include "hostkit/EffectCalls.h"
#include "hostkit/Host.h"
#include "plugin/PluginEntry.h"

namespace wrenfold {
namespace {

// A parameter write, or with index programChange a program change to `value`.
constexpr int32_t programChange = -1;
void perform(AEffect* record, int32_t index, float value) {
  if (index == programChange)
    hostkit::dispatch(record, effSetProgram, 0, static_cast<intptr_t>(value));
  else
    record->setParameter(record, index, value);
}

// Runs one block of a decaying tone through the record and returns both outputs, left first.
std::vector<float> runBlock(AEffect* record, int32_t frames) {
  std::vector<float> in(frames), out(2 * static_cast<std::size_t>(frames));
  for (int32_t i = 0; i < frames; ++i) in[i] = std::sin(0.05f * i) * std::exp(-0.001f * i);
  float* ins[2] = {in.data(), in.data()};
  float* outs[2] = {out.data(), out.data() + frames};
  record->processReplacing(record, ins, outs, frames);
  return out;
}

TEST(ParameterCoalescing, WritesBetweenBlocksSoundAsIfCarriedOutOneByOne) {
  struct Case {
    const char* name;
    int32_t program;
    std::vector<std::pair<int32_t, float>> actions;
  };
  const Case cases[] = {
      {"clear latch 0-1-0-1",
       0,
       {{ClearBuffer, 0}, {ClearBuffer, 1}, {ClearBuffer, 0}, {ClearBuffer, 1}}},
      {"clear latch raised, then lowered by one half", 0, {{ClearBuffer, 1}, {ClearBuffer, 0.5f}}},
      {"mode toggled twice", 0, {{NomorRev, 1}, {NomorRev, 0}}},
      {"reverse mode toggled twice", 2, {{NomorRev, 0}, {NomorRev, 1}}},
      {"program, then single writes",
       0,
       {{programChange, 3}, {FeedBackL, 0.9f}, {TempoR, 0.7f}, {WetPanL, 0.3f}}},
      {"single writes, then a program", 1, {{LpfQ, 0.9f}, {programChange, 2}, {RevAttack, 0.4f}}},
      {"low-pass switched off and on", 3, {{LpfCutoff, 1}, {LpfCutoff, 0.5f}}},
      {"high-pass switched off and on", 4, {{HpfCutoff, 0}, {LpfQ, 0.3f}, {HpfCutoff, 0.4f}}},
      {"ramps around a restart", 2, {{RevAttack, 0.6f}, {NoteLenL, 0.2f}, {RevRelease, 0.8f}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AEffect* coalesced = createPluginInstance(hostkit::Host::callback());
    AEffect* oneByOne = createPluginInstance(hostkit::Host::callback());
    ASSERT_TRUE(coalesced != nullptr && oneByOne != nullptr);
    const DelayEffect* reference = static_cast<DelayEffect*>(EffectBase::fromRecord(oneByOne));
    for (AEffect* record : {coalesced, oneByOne}) {
      perform(record, programChange, static_cast<float>(c.program));
      runBlock(record, 4096);  // lines and filters now hold signal
    }
    for (const auto& [index, value] : c.actions) {
      perform(coalesced, index, value);
      perform(oneByOne, index, value);
      reference->engineValue(0);  // carries out this write's engine work at once
    }
    const std::vector<float> heard = runBlock(coalesced, 60000);
    const std::vector<float> expected = runBlock(oneByOne, 60000);
    EXPECT_EQ(std::memcmp(heard.data(), expected.data(), heard.size() * sizeof(float)), 0);
    for (AEffect* record : {coalesced, oneByOne}) hostkit::dispatch(record, effClose);
  }
}

}  // namespace
}  // namespace wrenfold
