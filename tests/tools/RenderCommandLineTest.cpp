// Runs wrenfold-render against the test effect, whose echo comes exactly 689 frames (at 44100 Hz)
// after its input and whose "plain" program passes the dry signal at unity.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>

#include "support/RenderHarness.h"

namespace wrenfold::test {
namespace {

constexpr long echoEffect = 689;
const std::string testEffect = WRENFOLD_TEST_EFFECT_PATH;

RunResult render(const std::vector<std::string>& arguments,
                 const std::vector<std::pair<std::string, std::string>>& environment = {}) {
  std::vector<std::string> all = {"--module", testEffect};
  all.insert(all.end(), arguments.begin(), arguments.end());
  return runRender(all, environment);
}

// Writes a WAV header that declares 0 Hz, which libsndfile itself refuses to write.
void writeZeroRateWave(const std::string& path) {
  const std::string good = path + ".tmp";
  writeSound(good, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 2, std::vector<float>(20, 0.0f));
  std::fstream file(good, std::ios::in | std::ios::out | std::ios::binary);
  file.seekp(24);
  file.write("\0\0\0\0\0\0\0\0", 8);  // sample rate and byte rate of the fmt chunk
  file.close();
  std::filesystem::rename(good, path);
}

bool leftoversIn(const TemporaryFolder& folder) {
  const std::vector<std::string> names = folder.entries();
  return std::any_of(names.begin(), names.end(), [](const std::string& name) {
    return name.find(".part-") != std::string::npos;
  });
}

TEST(RenderCommandLine, RendersTheDemoPhraseWithoutAnInputFile) {
  TemporaryFolder folder;
  const RunResult run = render({folder.file("demo.wav")});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const Sound sound = readSound(folder.file("demo.wav"));
  EXPECT_EQ(sound.info.channels, 2);
  EXPECT_EQ(sound.info.samplerate, 44100);
  EXPECT_GE(sound.info.frames, 4 * 44100);
  EXPECT_EQ(sound.info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_24);
}

TEST(RenderCommandLine, MonoInputFeedsBothInputsAndGivesStereo) {
  TemporaryFolder folder;
  std::vector<float> mono(1000, 0.0f);
  mono[10] = 0.5f;
  writeSound(folder.file("in.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, 44100, 1, mono);
  const RunResult run = render({"--tail", "0", folder.file("in.wav"), folder.file("out.wav")});
  ASSERT_EQ(run.status, 0) << run.err;
  const Sound sound = readSound(folder.file("out.wav"));
  ASSERT_EQ(sound.info.channels, 2);
  ASSERT_EQ(sound.info.frames, 1000);
  EXPECT_FLOAT_EQ(sound.at(10, 0), 0.5f);
  EXPECT_FLOAT_EQ(sound.at(10, 1), 0.5f);
  EXPECT_FLOAT_EQ(sound.at(10 + echoEffect, 0), 0.5f);
  EXPECT_FLOAT_EQ(sound.at(10 + echoEffect, 1), 0.5f);
}

TEST(RenderCommandLine, TalksToTheEffectLikeAHost) {
  TemporaryFolder folder;
  writeSound(folder.file("in.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, 48000, 2,
             std::vector<float>(2 * 1000, 0.25f));
  const RunResult run =
      render({"--block", "300", "--tail", "0", folder.file("in.wav"), folder.file("out.wav")},
             {{"WRENFOLD_TEST_EFFECT_LOG", folder.file("log")}});
  ASSERT_EQ(run.status, 0) << run.err;
  std::ifstream log(folder.file("log"));
  std::vector<std::string> events;
  long blockFrames = 0;
  for (std::string line; std::getline(log, line);) {
    if (line.rfind("block ", 0) == 0) {
      const long frames = std::stol(line.substr(6));
      EXPECT_LE(frames, 300);
      blockFrames += frames;
      if (events.empty() || events.back() != "blocks") {
        events.push_back("blocks");
      }
    } else if (line.rfind("rate", 0) == 0 || line.rfind("maxblock", 0) == 0 ||
               line.rfind("mains", 0) == 0 || line == "opcode 1") {
      events.push_back(line);
    }
  }
  EXPECT_EQ(blockFrames, 1000);
  const std::vector<std::string> expected = {"rate 0 48000", "maxblock 300", "mains 1",
                                             "blocks",       "mains 0",      "opcode 1"};
  EXPECT_EQ(events, expected);
}

TEST(RenderCommandLine, FixedTailAddsExactlyThatLength) {
  TemporaryFolder folder;
  writeSound(folder.file("in.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, 44100, 2,
             stereoImpulse(500, 0));
  const RunResult run = render({"--tail", "0.5", folder.file("in.wav"), folder.file("out.wav")});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(readSound(folder.file("out.wav")).info.frames, 500 + 22050);
}

TEST(RenderCommandLine, AutomaticTailRingsOutTheEchoesAndStopsAtTheLastAudibleFrame) {
  TemporaryFolder folder;
  writeSound(folder.file("in.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, 44100, 2,
             stereoImpulse(100, 99));
  const RunResult run =
      render({"--program", "echo", folder.file("in.wav"), folder.file("out.wav")});
  ASSERT_EQ(run.status, 0) << run.err;
  const Sound sound = readSound(folder.file("out.wav"));
  // Feedback 0.5: each echo 6 dB down, so about 15 of them lie above -90 dBFS.
  const long lastEcho = (sound.info.frames - 1 - 99) / echoEffect;
  EXPECT_EQ((sound.info.frames - 1 - 99) % echoEffect, 0);
  EXPECT_GE(lastEcho, 14);
  EXPECT_LE(lastEcho, 16);
  EXPECT_GT(std::fabs(sound.at(sound.info.frames - 1, 0)), std::pow(10.0, -90.0 / 20.0));
}

TEST(RenderCommandLine, AutomaticTailIsEmptyWhenTheEchoesEndInsideTheInput) {
  TemporaryFolder folder;
  writeSound(folder.file("in.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, 44100, 2,
             stereoImpulse(1000, 0));
  const RunResult run = render({folder.file("in.wav"), folder.file("out.wav")});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(readSound(folder.file("out.wav")).info.frames, 1000);
}

TEST(RenderCommandLine, WritesTheInputsFormatOrTheOneTheExtensionNames) {
  struct Case {
    int input;
    const char* output;
    int expected;
  };
  const Case cases[] = {
      {SF_FORMAT_FLAC | SF_FORMAT_PCM_16, "out.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
      {SF_FORMAT_FLAC | SF_FORMAT_PCM_16, "out.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24},
      {SF_FORMAT_FLAC | SF_FORMAT_PCM_16, "out", SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
      {SF_FORMAT_WAV | SF_FORMAT_PCM_16, "out.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16},
      {SF_FORMAT_WAV | SF_FORMAT_PCM_32, "out.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_32},
      {SF_FORMAT_WAVEX | SF_FORMAT_PCM_32, "out.wav", SF_FORMAT_WAVEX | SF_FORMAT_PCM_32},
      {SF_FORMAT_AIFF | SF_FORMAT_PCM_24, "out.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_24},
      {SF_FORMAT_OGG | SF_FORMAT_VORBIS, "out.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.output + std::string(" from ") + std::to_string(test.input));
    TemporaryFolder folder;
    const std::string input = folder.file("in");
    writeSound(input, test.input, 44100, 2, stereoImpulse(4000, 0));
    const RunResult run = render({"--tail", "0", input, folder.file(test.output)});
    ASSERT_EQ(run.status, 0) << run.err;
    const Sound sound = readSound(folder.file(test.output));
    EXPECT_EQ(sound.info.format & ~SF_FORMAT_ENDMASK, test.expected);
    EXPECT_EQ(sound.info.frames, 4000);
  }
}

// The one render past 4 GiB (about 4.3 GB, written and deleted), the cheapest way there: 16 bytes
// a frame at the highest rate, all tail.
TEST(RenderCommandLine, AWavPastFourGibIsWrittenAsRf64AndReadsBackAtItsTrueLength) {
  TemporaryFolder folder;
  writeSound(folder.file("in.wav"), SF_FORMAT_WAV | SF_FORMAT_DOUBLE, 768000, 2,
             stereoImpulse(100, 0));
  const RunResult run =
      render({"--block", "65536", "--tail", "350", folder.file("in.wav"), folder.file("out.wav")});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_GT(std::filesystem::file_size(folder.file("out.wav")), 1ull << 32);
  SF_INFO info{};
  SNDFILE* file = sf_open(folder.file("out.wav").c_str(), SFM_READ, &info);
  ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
  sf_close(file);
  EXPECT_EQ(info.format, SF_FORMAT_RF64 | SF_FORMAT_DOUBLE);
  EXPECT_EQ(info.frames, 100 + 350 * 768000);
}

TEST(RenderCommandLine, NonFiniteInputIsRenderedAsSilenceWithAWarning) {
  TemporaryFolder folder;
  std::vector<float> samples = stereoImpulse(2000, 0);
  samples[200] = std::numeric_limits<float>::quiet_NaN();
  samples[301] = std::numeric_limits<float>::infinity();
  writeSound(folder.file("in.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, 44100, 2, samples);
  const RunResult run =
      render({"--program", "echo", folder.file("in.wav"), folder.file("out.wav")});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("2 non-finite input samples"), std::string::npos) << run.err;
  const Sound sound = readSound(folder.file("out.wav"));
  ASSERT_GT(sound.info.frames, 2000);
  EXPECT_TRUE(std::all_of(sound.samples.begin(), sound.samples.end(),
                          [](float sample) { return std::isfinite(sample); }));
  EXPECT_FLOAT_EQ(sound.at(echoEffect, 0), 1.0f);
}

TEST(RenderCommandLine, ListShowsProgramsAndParametersAfterTheOptions) {
  const RunResult run = render({"--program", "echo", "--set", "Gain=0.25", "--list"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Test Echo"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("*  1  echo"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("     0  plain"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("0  Gain          0.2500  0.25"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("2  TempoL        0.0000  BPM240"), std::string::npos) << run.out;
}

TEST(RenderCommandLine, StatsNameTheProgramDelaysPeakAndRms) {
  TemporaryFolder folder;
  writeSound(folder.file("in.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, 44100, 2,
             stereoImpulse(100, 0));
  const RunResult run =
      render({"--stats", "--tail", "0", folder.file("in.wav"), folder.file("{program}.wav")});
  ASSERT_EQ(run.status, 0) << run.err;
  // 689 frames at 44100 Hz; one full-scale frame in 100 gives an RMS of -20 dBFS.
  EXPECT_EQ(run.out, "plain\t15.6\t15.6\t0.0\t-20.0\t" + folder.file("plain.wav") + "\n");
}

TEST(RenderCommandLine, WarnsWhenAnIntegerFileClipsButNotWhenAFloatFileKeepsTheOvers) {
  const std::pair<int, bool> cases[] = {{SF_FORMAT_WAV | SF_FORMAT_PCM_16, true},
                                        {SF_FORMAT_WAV | SF_FORMAT_FLOAT, false}};
  for (const auto& [format, warns] : cases) {
    SCOPED_TRACE(format);
    TemporaryFolder folder;
    writeSound(folder.file("in.wav"), format, 44100, 2, std::vector<float>(200, 0.9f));
    const RunResult run =
        render({"--set", "Gain=1", "--tail", "0", folder.file("in.wav"), folder.file("out.wav")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err.find("peaks at +5.1 dBFS and was clipped") != std::string::npos, warns)
        << run.err;
  }
}

TEST(RenderCommandLine, WarnsAboutOutputAboveFullScaleForOverASecondInEveryFormat) {
  struct Case {
    int format;
    std::vector<std::pair<float, double>> stretches;  // level, seconds
    std::string warning;
  };
  // The plain program doubles a steady input once its echo has arrived.
  const std::string runaway =
      "warning: the output stays above 0 dBFS for 1.5 s and peaks at +3.5 dBFS";
  const Case cases[] = {
      {SF_FORMAT_FLOAT, {{0.75f, 1.5}}, runaway + ": a runaway"},
      {SF_FORMAT_PCM_24, {{0.75f, 1.5}}, runaway + " (clipped in the file): a runaway"},
      {SF_FORMAT_FLOAT, {{0.75f, 0.9}}, ""},
      {SF_FORMAT_FLOAT, {{0.75f, 0.8}, {0.0f, 0.3}, {0.75f, 0.8}}, ""},
      {SF_FORMAT_FLOAT, {{0.25f, 1.5}}, ""},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.format);
    SCOPED_TRACE(test.stretches.size());
    TemporaryFolder folder;
    std::vector<float> samples;
    for (const auto& [level, seconds] : test.stretches) {
      samples.insert(samples.end(), static_cast<std::size_t>(2 * seconds * 44100), level);
    }
    writeSound(folder.file("in.wav"), SF_FORMAT_WAV | test.format, 44100, 2, samples);
    const RunResult run = render({"--tail", "0", folder.file("in.wav"), folder.file("out.wav")});
    ASSERT_EQ(run.status, 0) << run.err;
    if (test.warning.empty()) {
      EXPECT_EQ(run.err, "");
    } else {
      EXPECT_NE(run.err.find(test.warning), std::string::npos) << run.err;
    }
  }
}

TEST(RenderCommandLine, StatsStayFiniteWhenTheOutputIsHuge) {
  TemporaryFolder folder;
  writeSound(folder.file("huge.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, 44100, 2,
             std::vector<float>(200, 1e38f));
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      // Squaring 1e38 overflows single precision.
      {{"--module", testEffect, "--tail", "0", folder.file("huge.wav"), folder.file("out.wav")},
       "plain\t15.6\t15.6\t760.0\t760.0\t" + folder.file("out.wav") + "\n"},
      {{"--module", WRENFOLD_MODULE_PATH, "--program", "robot", "--set", "FeedBackL=0.45", "--set",
        "FeedBackR=0.45", folder.file("robot.wav")},
       ""},
  };
  for (const auto& [arguments, expected] : cases) {
    SCOPED_TRACE(expected);
    std::vector<std::string> all = arguments;
    all.insert(all.begin(), "--stats");
    const RunResult run = runRender(all);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.find("inf"), std::string::npos) << run.out;
    if (!expected.empty()) {
      EXPECT_EQ(run.out, expected);
    }
  }
}

TEST(RenderCommandLine, BadInputFailsWithOneLineAndLeavesNoFileBehind) {
  TemporaryFolder folder;
  std::ofstream(folder.file("text.wav")) << "this is not audio\n";
  writeSound(folder.file("empty.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 2, {});
  writeSound(folder.file("three.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 3,
             std::vector<float>(30, 0.0f));
  writeSound(folder.file("good.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 2,
             std::vector<float>(20, 0.0f));
  for (const auto& [name, rate] :
       {std::pair<const char*, int>{"1hz.wav", 1}, {"999hz.wav", 999}, {"1ghz.wav", 1000000000}}) {
    writeSound(folder.file(name), SF_FORMAT_WAV | SF_FORMAT_FLOAT, rate, 2,
               std::vector<float>(20, 0.0f));
  }
  writeZeroRateWave(folder.file("0hz.wav"));
  std::filesystem::create_directory(folder.file("folder.wav"));
  const std::string out = folder.file("out.wav");
  struct Case {
    std::vector<std::string> arguments;
    std::string mention;
  };
  const Case cases[] = {
      {{folder.file("missing.wav"), out}, "cannot read"},
      {{folder.file(""), out}, "it is a folder, not an audio file"},
      {{folder.file("folder.wav"), out}, "it is a folder, not an audio file"},
      {{"", out}, "the input file name is empty"},
      {{folder.file("good.wav"), ""}, "the output file name is empty"},
      {{"-", out}, "'-' (standard input or output) is not supported"},
      {{folder.file("good.wav"), "-"}, "'-' (standard input or output) is not supported"},
      {{"--program", "", folder.file("good.wav"), out}, "--program needs a value"},
      {{"--program", "1", "--program", "", folder.file("good.wav"), out},
       "--program needs a value"},
      {{"--module", "", folder.file("good.wav"), out}, "--module needs a value"},
      {{folder.file("0hz.wav"), out}, "sample rate of 0 Hz; only 1000 to 768000 Hz"},
      {{folder.file("1hz.wav"), out}, "sample rate of 1 Hz; only 1000 to 768000 Hz"},
      {{folder.file("999hz.wav"), out}, "sample rate of 999 Hz"},
      {{folder.file("1ghz.wav"), out}, "sample rate of 1000000000 Hz"},
      {{folder.file("text.wav"), out}, "cannot read"},
      {{folder.file("empty.wav"), out}, "holds no audio"},
      {{folder.file("three.wav"), out}, "3 channels"},
      {{folder.file("good.wav"), folder.file("no-such-folder/out.wav")}, "cannot write"},
      {{folder.file("good.wav"), folder.file("out.mp4x.ogg/")}, "it names a folder"},
      {{folder.file("good.wav"), folder.file("folder.wav")}, "it is a folder; give a file name"},
      {{folder.file("good.wav"), folder.file("out.mp3")},
       "unknown extension '.mp3'; supported: .wav"},
      {{folder.file("good.wav"), folder.file("out.opus")}, "unknown extension '.opus'"},
      {{folder.file("good.wav"), folder.file("out.txt")}, "unknown extension '.txt'"},
      {{"--set", "Volume=0.5", folder.file("good.wav"), out}, "valid names: Gain, Feedback"},
      {{"--set", "Gain=2", folder.file("good.wav"), out}, "0 to 1"},
      {{"--program", "7", folder.file("good.wav"), out}, "valid programs: 0 \"plain\", 1 \"echo\""},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.mention);
    const RunResult run = render(test.arguments);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.rfind("wrenfold-render: ", 0), 0u) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_NE(run.err.find(test.mention), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_FALSE(leftoversIn(folder));
  }
}

TEST(RenderCommandLine, AModuleThatCannotBeUsedIsAClearError) {
  TemporaryFolder folder;
  std::ofstream(folder.file("fake.so")) << "not a module\n";
  struct Case {
    std::string module;
    std::string mention;
    std::string fault;  // how the test effect spoils its record
  };
  const Case cases[] = {
      {folder.file("fake.so"), "cannot load module: " + folder.file("fake.so"), ""},
      {folder.file("none.so"),
       "cannot load module: " + folder.file("none.so") + ": cannot open shared object file", ""},
      {WRENFOLD_RENDER_PATH, "cannot load module", ""},
      {testEffect, testEffect + " answered no effect", "none"},
      {testEffect, testEffect + " answered a record with no interface magic", "magic"},
      {testEffect, testEffect + " answered a record with a channel count out of range", "outputs"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.module + " " + test.fault);
    const RunResult run = runRender({"--module", test.module, folder.file("out.wav")},
                                    {{"WRENFOLD_TEST_EFFECT_FAULT", test.fault}});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_NE(run.err.find(test.mention), std::string::npos) << run.err;
    EXPECT_FALSE(std::ifstream(folder.file("out.wav")).good());
  }
}

TEST(RenderCommandLine, QuietOnStderrWhenItIsNoTerminal) {
  TemporaryFolder folder;
  const RunResult run = render({"--tail", "20", folder.file("long.wav")});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out, "");
}

}  // namespace
}  // namespace wrenfold::test
