// Each parameter written between two blocks through the record changes the output where its
// meaning says and leaves the rest bit-identical. Two instances with the same past take different
// writes at the same boundary; the program is "reverse FX", whose echoes are panned hard left and
// right, so a channel's settings show in its own output only.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "hostkit/EffectCalls.h"
#include "hostkit/Host.h"
#include "plugin/PluginEntry.h"

namespace wrenfold {
namespace {

enum Outputs { none = 0, left = 1, right = 2, both = 3 };

// Plays two instances alike, gives each its own writes of parameter `index` at one block
// boundary, plays on and returns which outputs then differ.
int32_t outputsChangedBy(int32_t index, const std::vector<float>& writesA,
                         const std::vector<float>& writesB) {
  constexpr int32_t frames = 70000;  // more than the longest echo of the program
  std::vector<float> in[2], heard[2][2];
  for (int32_t i = 0; i < 2 * frames; ++i) {
    in[0].push_back(0.5f * std::sin(0.031f * static_cast<float>(i)));
    in[1].push_back(0.5f * std::sin(0.017f * static_cast<float>(i)));
  }
  int32_t instance = 0;
  for (const std::vector<float>* writes : {&writesA, &writesB}) {
    AEffect* record = createPluginInstance(hostkit::Host::callback());
    hostkit::dispatch(record, effSetProgram, 0, 2);
    for (std::vector<float>& out : heard[instance]) out.assign(2 * frames, 0.0f);
    for (int32_t half = 0; half < 2; ++half) {
      if (half == 1)
        for (float value : *writes) record->setParameter(record, index, value);
      float* ins[2] = {in[0].data() + half * frames, in[1].data() + half * frames};
      float* outs[2] = {heard[instance][0].data() + half * frames,
                        heard[instance][1].data() + half * frames};
      record->processReplacing(record, ins, outs, frames);
    }
    hostkit::dispatch(record, effClose);
    ++instance;
  }
  return (heard[0][0] != heard[1][0] ? left : none) | (heard[0][1] != heard[1][1] ? right : none);
}

TEST(ParameterWrite, EachParameterChangesItsOwnPartOfTheOutputAndNothingElse) {
  struct Row {
    float other;      // a value other than the program's
    Outputs instead;  // where writing it instead of the program's value is heard
    Outputs andBack;  // where writing it and then the program's value is heard, next to no
                      // write: a restart or a rising clear leaves a mark, nothing else may
  };
  // The filters, mode, clear and bypass act on both delays; a pan moves its echo across.
  // At their top values LpfQ and HpfCutoff leave the low-pass history alone (LpfCutoff's does not).
  const std::multimap<std::string, Row> rows = {
      {"NomorRev", {0.0f, both, both}},  {"ClearBuffer", {1.0f, both, both}},
      {"Bypass", {1.0f, both, none}},    {"LpfCutoff", {0.3f, both, none}},
      {"LpfQ", {0.9f, both, none}},      {"HpfCutoff", {0.5f, both, none}},
      {"TempoL", {0.7f, left, both}},    {"TempoR", {0.7f, right, both}},
      {"NoteLenL", {0.6f, left, both}},  {"NoteLenR", {0.6f, right, both}},
      {"FeedBackL", {0.8f, left, none}}, {"FeedBackR", {0.8f, right, none}},
      {"WetLevelL", {0.6f, left, none}}, {"WetLevelR", {0.6f, right, none}},
      {"DryLevelL", {0.3f, left, none}}, {"DryLevelR", {0.3f, right, none}},
      {"WetPanL", {0.5f, both, none}},   {"WetPanR", {0.5f, both, none}},
      {"RevAttack", {0.6f, both, none}}, {"RevRelease", {0.6f, both, none}},
      {"LpfQ", {1.0f, both, none}},      {"HpfCutoff", {1.0f, both, none}},
  };
  AEffect* probe = createPluginInstance(hostkit::Host::callback());
  hostkit::dispatch(probe, effSetProgram, 0, 2);
  std::size_t checked = 0;
  for (int32_t index = 0; index < probe->numParams; ++index) {
    const std::string name = hostkit::effectText(probe, effGetParamName, index);
    ASSERT_GE(rows.count(name), 1u) << name;
    const float own = probe->getParameter(probe, index);
    for (auto [at, end] = rows.equal_range(name); at != end; ++at, ++checked) {
      const Row& row = at->second;
      SCOPED_TRACE(name + " " + std::to_string(row.other));
      EXPECT_EQ(outputsChangedBy(index, {own}, {row.other}), row.instead);
      EXPECT_EQ(outputsChangedBy(index, {}, {row.other, own}), row.andBack);
    }
  }
  EXPECT_EQ(checked, rows.size()) << "rows of no parameter";
  hostkit::dispatch(probe, effClose);
}

}  // namespace
}  // namespace wrenfold
