// Each parameter written between two blocks through the record changes the output where its
// meaning says and leaves the rest bit-identical. Two instances with the same past take different
// values at the same boundary; the program is "reverse FX", whose echoes are panned hard left and
// right, so a channel's settings show in its own output only.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>
#include <vector>

#include "hostkit/EffectCalls.h"
#include "hostkit/Host.h"
#include "plugin/PluginEntry.h"

namespace wrenfold {
namespace {

constexpr int32_t reverseProgram = 2;

// Which outputs a write may change.
enum Outputs { none = 0, left = 1, right = 2, both = 3 };

// Runs frames of a different tone in each input through the record; returns left then right.
std::vector<float> run(AEffect* record, int32_t first, int32_t frames) {
  std::vector<float> inL(frames), inR(frames), out(2 * static_cast<std::size_t>(frames));
  for (int32_t i = 0; i < frames; ++i) {
    inL[i] = 0.5f * std::sin(0.031f * static_cast<float>(first + i));
    inR[i] = 0.5f * std::sin(0.017f * static_cast<float>(first + i));
  }
  float* ins[2] = {inL.data(), inR.data()};
  float* outs[2] = {out.data(), out.data() + frames};
  record->processReplacing(record, ins, outs, frames);
  return out;
}

// Returns which outputs of two runs differ in at least one sample.
int32_t differingOutputs(const std::vector<float>& a, const std::vector<float>& b) {
  const std::size_t half = a.size() / 2;
  int32_t found = none;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i]) found |= i < half ? left : right;
  return found;
}

// Plays two instances alike, lets each take its own writes of parameter `index` at one block
// boundary, plays on and returns which outputs differ afterwards.
int32_t outputsChangedBy(int32_t index, const std::vector<float>& writesA, const std::vector<float>& writesB) {
  AEffect* a = createPluginInstance(hostkit::Host::callback());
  AEffect* b = createPluginInstance(hostkit::Host::callback());
  std::vector<float> heard[2];
  int32_t instance = 0;
  for (auto [record, writes] : {std::pair{a, writesA}, std::pair{b, writesB}}) {
    hostkit::dispatch(record, effSetProgram, 0, reverseProgram);
    run(record, 0, 70000);  // the lines are full and the filters hold signal
    for (float value : writes) record->setParameter(record, index, value);
    heard[instance++] = run(record, 70000, 140000);
    hostkit::dispatch(record, effClose);
  }
  return differingOutputs(heard[0], heard[1]);
}

TEST(ParameterWrite, EachParameterChangesItsOwnPartOfTheOutputAndNothingElse) {
  struct Row {
    float other;            // a value other than the program's
    Outputs changed;        // where writing it instead of the program's value is heard
    Outputs markOfAnother;  // where writing it and then the program's value is heard, next to
                            // writing nothing: a restart or a rising clear leaves one
  };
  // The filters, mode, clear and bypass act on both delays; a pan moves its echo across.
  const std::pair<std::string, Row> rows[] = {
      {"NomorRev", {0.0f, both, both}},    {"ClearBuffer", {1.0f, both, both}},
      {"Bypass", {1.0f, both, none}},      {"LpfCutoff", {0.3f, both, none}},
      {"LpfQ", {0.9f, both, none}},        {"HpfCutoff", {0.5f, both, none}},
      {"TempoL", {0.7f, left, both}},      {"TempoR", {0.7f, right, both}},
      {"NoteLenL", {0.6f, left, both}},    {"NoteLenR", {0.6f, right, both}},
      {"FeedBackL", {0.8f, left, none}},   {"FeedBackR", {0.8f, right, none}},
      {"WetLevelL", {0.6f, left, none}},   {"WetLevelR", {0.6f, right, none}},
      {"DryLevelL", {0.3f, left, none}},   {"DryLevelR", {0.3f, right, none}},
      {"WetPanL", {0.5f, both, none}},     {"WetPanR", {0.5f, both, none}},
      {"RevAttack", {0.6f, both, none}},   {"RevRelease", {0.6f, both, none}},
  };
  AEffect* probe = createPluginInstance(hostkit::Host::callback());
  hostkit::dispatch(probe, effSetProgram, 0, reverseProgram);
  ASSERT_EQ(probe->numParams, static_cast<int32_t>(std::size(rows)));
  for (int32_t index = 0; index < probe->numParams; ++index) {
    const std::string name = hostkit::effectText(probe, effGetParamName, index);
    SCOPED_TRACE(name);
    const auto row = std::find_if(std::begin(rows), std::end(rows), [&](const auto& r) { return r.first == name; });
    ASSERT_NE(row, std::end(rows));
    const float own = probe->getParameter(probe, index);
    ASSERT_NE(own, row->second.other);
    EXPECT_EQ(outputsChangedBy(index, {own}, {row->second.other}), row->second.changed);
    EXPECT_EQ(outputsChangedBy(index, {}, {row->second.other, own}), row->second.markOfAnother);
  }
  hostkit::dispatch(probe, effClose);
}

}  // namespace
}  // namespace wrenfold
