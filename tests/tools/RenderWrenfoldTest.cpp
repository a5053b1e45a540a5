// Runs wrenfold-render against the real module: the echoes of the factory programs must come out
// where their tempo and note length put them, at the file's sample rate.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>

#include "base/Version.h"
#include "support/RenderHarness.h"

namespace wrenfold::test {
namespace {

const std::string modulePath = WRENFOLD_MODULE_PATH;

RunResult render(const std::vector<std::string>& arguments) {
  std::vector<std::string> all = {"--module", modulePath};
  all.insert(all.end(), arguments.begin(), arguments.end());
  return runRender(all);
}

// Returns the largest magnitude of one channel over frames [from, to).
float loudest(const Sound& sound, int channel, long from, long to) {
  float peak = 0.0f;
  for (long frame = from; frame < to; ++frame) {
    peak = std::max(peak, std::fabs(sound.at(frame, channel)));
  }
  return peak;
}

Sound renderImpulse(const TemporaryFolder& folder, int sampleRate,
                    const std::vector<std::string>& options) {
  writeSound(folder.file("in.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, sampleRate, 2,
             stereoImpulse(sampleRate, 100));
  std::vector<std::string> arguments = options;
  arguments.insert(arguments.end(), {"--tail", "0", folder.file("in.wav"), folder.file("out.wav")});
  const RunResult run = render(arguments);
  EXPECT_EQ(run.status, 0) << run.err;
  return readSound(folder.file("out.wav"));
}

TEST(RenderWrenfold, ListsTheEffectItsFiveProgramsAndTwentyParameters) {
  const RunResult run = render({"--list"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("\n" + std::string(effectNameText) + "\n"), std::string::npos) << run.out;
  for (const char* program :
       {"*  0  init", "1  space", "2  reverse FX", "3  like analog", "4  robot"}) {
    EXPECT_NE(run.out.find(program), std::string::npos) << program;
  }
  EXPECT_NE(run.out.find("19  RevRelease"), std::string::npos) << run.out;
  // The rows stop at the last parameter: each row's second word is a name.
  std::istringstream rows(run.out.substr(run.out.find("display\n") + 8));
  for (std::string index, name, rest; rows >> index >> name && std::getline(rows, rest);)
    EXPECT_TRUE(std::isalpha(static_cast<unsigned char>(name[0]))) << index << " " << name;
  EXPECT_NE(run.out.find("6  TempoL        0.5000  BPM130"), std::string::npos) << run.out;
}

TEST(RenderWrenfold, ProgramZeroEchoesAfter20353FramesInBothChannels) {
  TemporaryFolder folder;
  const Sound sound = renderImpulse(folder, 44100, {});
  ASSERT_EQ(sound.info.frames, 44100);
  for (int channel = 0; channel < 2; ++channel) {
    SCOPED_TRACE(channel);
    EXPECT_FLOAT_EQ(sound.at(100, channel), 1.0f);
    EXPECT_EQ(loudest(sound, channel, 101, 100 + 20353), 0.0f);
    EXPECT_GT(std::fabs(sound.at(100 + 20353, channel)), 0.05f);
  }
}

TEST(RenderWrenfold, EchoFollowsTheFilesSampleRate) {
  TemporaryFolder folder;
  const Sound sound = renderImpulse(folder, 48000, {});
  const long delay = 22153;  // a quarter note at 130 BPM at 48000 Hz, truncated
  EXPECT_EQ(loudest(sound, 0, 101, 100 + delay), 0.0f);
  EXPECT_GT(std::fabs(sound.at(100 + delay, 0)), 0.05f);
}

TEST(RenderWrenfold, SettingsReachTheEffect) {
  TemporaryFolder folder;
  const Sound sound = renderImpulse(folder, 44100, {"--set", "WetLevelL=0.5"});
  EXPECT_EQ(loudest(sound, 0, 101, 44100), 0.0f);
  EXPECT_GT(std::fabs(sound.at(100 + 20353, 1)), 0.05f);
}

TEST(RenderWrenfold, BypassPassesTheInputBitForBitAndAddsNoTail) {
  TemporaryFolder folder;
  std::vector<float> input(2 * 5000);
  for (std::size_t i = 0; i < input.size(); ++i) {
    input[i] = static_cast<float>(std::sin(0.01 * static_cast<double>(i))) * 0.7f;
  }
  writeSound(folder.file("in.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, 44100, 2, input);
  const RunResult run =
      render({"--set", "Bypass=1", folder.file("in.wav"), folder.file("out.wav")});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(readSound(folder.file("out.wav")).samples, input);
}

TEST(RenderWrenfold, BlockSizeDoesNotChangeTheResult) {
  TemporaryFolder folder;
  std::vector<float> reference;
  for (const char* block : {"512", "1", "7", "4096"}) {
    SCOPED_TRACE(block);
    const std::string out = folder.file(std::string("block-") + block + ".wav");
    const RunResult run = render({"--block", block, "--tail", "1", out});
    ASSERT_EQ(run.status, 0) << run.err;
    const Sound sound = readSound(out);
    if (reference.empty()) {
      reference = sound.samples;
      ASSERT_FALSE(reference.empty());
    } else {
      EXPECT_TRUE(sound.samples == reference);
    }
  }
}

// Returns lv2apply's control options that load a preset of the LV2 bundle: each port's symbol
// and value, read from the bundle's presets.ttl.
std::vector<std::string> presetControls(const std::string& slug) {
  std::ifstream presets(std::string(WRENFOLD_LV2_BUNDLE) + "/presets.ttl");
  std::vector<std::string> controls;
  std::string line;
  std::string symbol;
  bool inPreset = false;
  while (std::getline(presets, line)) {
    if (line.rfind("<urn:", 0) == 0) inPreset = line == "<urn:wrenfold:delay#preset-" + slug + ">";
    std::istringstream words(line);
    std::string key, value;
    words >> key >> value;
    if (inPreset && key == "lv2:symbol") symbol = value.substr(1, value.size() - 2);
    if (inPreset && key == "pset:value") controls.insert(controls.end(), {"-c", symbol, value});
  }
  return controls;
}

// The LV2 plug-in, run by lv2apply, and the module, run by wrenfold-render, give the same
// samples: for every program loaded as its preset, and for settings given in the units they show.
TEST(RenderWrenfold, Lv2PluginSoundsBitIdenticalToTheModule) {
  const std::string lv2apply = "/usr/bin/lv2apply";
  if (access(lv2apply.c_str(), X_OK) != 0) GTEST_SKIP() << "no lv2apply (lilv-utils)";
#ifdef WRENFOLD_SANITIZED_BUILD
  GTEST_SKIP() << "lv2apply, built without the sanitizers, cannot load a sanitized bundle";
#endif
  struct Case {
    std::vector<std::string> renderOptions;
    std::vector<std::string> controls;  // lv2apply's; a preset's when empty
  };
  const Case cases[] = {
      {{"--program", "init"}, {}},
      {{"--program", "space"}, {}},
      {{"--program", "reverse-fx"}, {}},
      {{"--program", "like-analog"}, {}},
      {{"--program", "robot"}, {}},
      {{"--set", "FeedBackL=40%", "--set", "TempoR=128bpm", "--set", "LpfQ=2.1", "--set",
        "WetPanL=left30%", "--set", "NoteLenR=1/8", "--set", "NomorRev=on"},
       {"-c", "FeedBackL", "40", "-c", "TempoR", "128", "-c", "LpfQ", "2.1", "-c", "WetPanL", "-30",
        "-c", "NoteLenR", "0.125", "-c", "NomorRev", "1"}},
      {{"--set", "HpfCutoff=20Hz", "--set", "RevAttack=25ms", "--set", "NomorRev=on"},
       {"-c", "HpfCutoff", "20", "-c", "RevAttack", "25", "-c", "NomorRev", "1"}},
  };
  TemporaryFolder folder;
  std::vector<float> input = stereoImpulse(66150, 0);
  for (std::size_t i = 2; i < 8000; ++i)
    input[i] = static_cast<float>(i * 7919 % 2001) / 4000.0f - 0.25f;
  writeSound(folder.file("in.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, 44100, 2, input);
  for (const Case& test : cases) {
    SCOPED_TRACE(test.renderOptions[1]);
    std::vector<std::string> options = test.renderOptions;
    options.insert(options.end(),
                   {"--tail", "0", folder.file("in.wav"), folder.file("module.wav")});
    const RunResult rendered = render(options);
    ASSERT_EQ(rendered.status, 0) << rendered.err;
    std::vector<std::string> arguments = {"-i", folder.file("in.wav"), "-o",
                                          folder.file("lv2.wav")};
    const std::vector<std::string> controls =
        test.controls.empty() ? presetControls(test.renderOptions[1]) : test.controls;
    ASSERT_EQ(controls.size(), test.controls.empty() ? 60u : test.controls.size());
    arguments.insert(arguments.end(), controls.begin(), controls.end());
    arguments.push_back("urn:wrenfold:delay");
    const std::string bundles = std::filesystem::path(WRENFOLD_LV2_BUNDLE).parent_path();
    const RunResult applied = runProgram(lv2apply, arguments, {{"LV2_PATH", bundles}});
    ASSERT_EQ(applied.status, 0) << applied.err;
    const Sound module = readSound(folder.file("module.wav"));
    ASSERT_EQ(module.samples.size(), input.size());
    EXPECT_TRUE(readSound(folder.file("lv2.wav")).samples == module.samples);
  }
}

TEST(RenderWrenfold, StatsGiveEachProgramsDelayTimes) {
  struct Case {
    const char* program;
    const char* start;
  };
  const Case cases[] = {
      {"0", "init\t461.5\t461.5\t"},
      {"space", "space\t346.1\t230.7\t"},
      {"reverse fx", "reverse FX\t1176.5\t784.3\t"},
      {"3", "like analog\t312.5\t312.5\t"},
      {"ROBOT", "robot\t18.7\t18.7\t"},
  };
  TemporaryFolder folder;
  for (const Case& test : cases) {
    SCOPED_TRACE(test.program);
    const RunResult run =
        render({"--program", test.program, "--stats", "--tail", "0", folder.file("{program}.wav")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind(test.start, 0), 0u) << run.out;
  }
}

TEST(RenderWrenfold, NonFiniteInputLeavesTheEchoesFinite) {
  TemporaryFolder folder;
  std::vector<float> input = stereoImpulse(3000, 0);
  input[1000] = std::numeric_limits<float>::quiet_NaN();
  input[1001] = -std::numeric_limits<float>::infinity();
  writeSound(folder.file("in.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, 44100, 2, input);
  const RunResult run = render({folder.file("in.wav"), folder.file("out.wav")});
  ASSERT_EQ(run.status, 0) << run.err;
  const Sound sound = readSound(folder.file("out.wav"));
  ASSERT_GT(sound.info.frames, 20353);
  EXPECT_TRUE(std::all_of(sound.samples.begin(), sound.samples.end(),
                          [](float sample) { return std::isfinite(sample); }));
  EXPECT_GT(std::fabs(sound.at(20353, 0)), 0.05f);
}

}  // namespace
}  // namespace wrenfold::test
