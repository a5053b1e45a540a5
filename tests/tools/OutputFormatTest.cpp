#include <gtest/gtest.h>
#include <sndfile.h>

#include "support/RenderHarness.h"
#include "tools/common/ToolError.h"
#include "tools/render/OutputFormat.h"
#include "tools/render/SoundFileWriter.h"

namespace wrenfold {
namespace {

TEST(OutputFormat, ExtensionNamesTheMajorFormatWhateverItsCase) {
  const std::pair<const char*, int> cases[] = {
      {"a.wav", SF_FORMAT_WAV},
      {"a.WAV", SF_FORMAT_WAV},
      {"a.flac", SF_FORMAT_FLAC},
      {"a.aiff", SF_FORMAT_AIFF},
      {"a.aif", SF_FORMAT_AIFF},
      {"a.ogg", SF_FORMAT_OGG},
      {"dir.wav/a", 0},
      {"a", 0},
      {"a.mp4", 0},
      {"x/y.z/a.Flac", SF_FORMAT_FLAC},
  };
  for (const auto& [path, format] : cases) {
    SCOPED_TRACE(path);
    EXPECT_EQ(majorFormatForPath(path), format);
  }
}

TEST(OutputFormat, KeepsTheInputsFormatAndSubtypeWhenTheExtensionAgreesOrSaysNothing) {
  const int input = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  EXPECT_EQ(chooseOutputFormat("out.wav", input, 44100, 2), input);
  EXPECT_EQ(chooseOutputFormat("out", input, 44100, 2), input);
  const int flac = SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
  EXPECT_EQ(chooseOutputFormat("out", flac, 48000, 2), flac);
  const int extensible = SF_FORMAT_WAVEX | SF_FORMAT_PCM_32;
  EXPECT_EQ(chooseOutputFormat("out.wav", extensible, 44100, 2), extensible);
}

TEST(OutputFormat, ChangingTheFormatOrAnUnkeptSampleFormatGivesTheDefaultSubtype) {
  const int input = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  EXPECT_EQ(chooseOutputFormat("out.flac", input, 44100, 2), SF_FORMAT_FLAC | SF_FORMAT_PCM_24);
  EXPECT_EQ(chooseOutputFormat("out.ogg", input, 44100, 2), SF_FORMAT_OGG | SF_FORMAT_VORBIS);
  EXPECT_EQ(chooseOutputFormat("out.aiff", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 44100, 2),
            SF_FORMAT_AIFF | SF_FORMAT_PCM_24);
  // Nor are 8-bit and companded samples kept, which would bury the echoes' tails in noise.
  EXPECT_EQ(chooseOutputFormat("out.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 44100, 2),
            SF_FORMAT_WAV | SF_FORMAT_PCM_24);
  EXPECT_EQ(chooseOutputFormat("out", SF_FORMAT_WAV | SF_FORMAT_ULAW, 44100, 2),
            SF_FORMAT_WAV | SF_FORMAT_PCM_24);
}

TEST(OutputFormat, WithoutAnInputFileANameWithoutExtensionWritesWav) {
  EXPECT_EQ(chooseOutputFormat("out", 0, 44100, 2), SF_FORMAT_WAV | SF_FORMAT_PCM_24);
  EXPECT_EQ(chooseOutputFormat("out.flac", 0, 44100, 2), SF_FORMAT_FLAC | SF_FORMAT_PCM_24);
}

TEST(OutputFormat, AFormatWhoseHeaderCannotHoldTheLengthBecomesRf64OrIsRefused) {
  struct Case {
    const char* path;
    int format;
    int64_t frames;
    int expected;  // 0: refused
  };
  const int64_t fourGib = int64_t{1} << 32;
  const Case cases[] = {
      {"a.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, fourGib / 4 - 16384,
       SF_FORMAT_WAV | SF_FORMAT_PCM_16},
      {"a.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, fourGib / 4, SF_FORMAT_RF64 | SF_FORMAT_PCM_16},
      {"a.wav", SF_FORMAT_WAVEX | SF_FORMAT_PCM_24, fourGib / 6, SF_FORMAT_RF64 | SF_FORMAT_PCM_24},
      {"a.wav", SF_FORMAT_WAV | SF_FORMAT_DOUBLE, fourGib / 15, SF_FORMAT_RF64 | SF_FORMAT_DOUBLE},
      {"a.aiff", SF_FORMAT_AIFF | SF_FORMAT_FLOAT, fourGib / 8 - 8192,
       SF_FORMAT_AIFF | SF_FORMAT_FLOAT},
      {"a.aiff", SF_FORMAT_AIFF | SF_FORMAT_FLOAT, fourGib / 8, 0},
      {"a.au", SF_FORMAT_AU | SF_FORMAT_PCM_24, fourGib / 6, 0},
      {"a.w64", SF_FORMAT_W64 | SF_FORMAT_DOUBLE, 4 * fourGib, SF_FORMAT_W64 | SF_FORMAT_DOUBLE},
      {"a.caf", SF_FORMAT_CAF | SF_FORMAT_PCM_24, 4 * fourGib, SF_FORMAT_CAF | SF_FORMAT_PCM_24},
      {"a.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 4 * fourGib, SF_FORMAT_FLAC | SF_FORMAT_PCM_24},
      {"a.rf64", SF_FORMAT_RF64 | SF_FORMAT_PCM_24, 4 * fourGib, SF_FORMAT_RF64 | SF_FORMAT_PCM_24},
      {"a.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 4 * fourGib, SF_FORMAT_OGG | SF_FORMAT_VORBIS},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(std::string(test.path) + " " + std::to_string(test.frames));
    if (test.expected != 0) {
      EXPECT_EQ(fitFormatToLength(test.path, test.format, 2, test.frames), test.expected);
      continue;
    }
    try {
      fitFormatToLength(test.path, test.format, 2, test.frames);
      ADD_FAILURE() << "not refused";
    } catch (const ToolError& error) {
      EXPECT_NE(std::string(error.what())
                    .find("holds at most 4 GiB of audio and this render may "
                          "reach 4.00 GiB; write .w64, .rf64, .caf or .flac"),
                std::string::npos)
          << error.what();
    }
  }
}

// A WAV moved to RF64 is a WAV again (with the extensible header) when it stays small; an RF64
// asked for stays RF64.
TEST(OutputFormat, TheRf64FormOfAWavIsPlainWavWhenItStaysSmall) {
  for (const auto& [plainWhenSmall, written] :
       {std::pair{true, SF_FORMAT_WAVEX}, {false, SF_FORMAT_RF64}}) {
    test::TemporaryFolder folder;
    SoundFileWriter writer(folder.file("a.wav"), SF_FORMAT_RF64 | SF_FORMAT_PCM_16, 44100, 2,
                           plainWhenSmall);
    const std::vector<float> frames = test::stereoImpulse(100, 0);
    writer.write(frames.data(), 100);
    writer.commit();
    EXPECT_EQ(test::readSound(folder.file("a.wav")).info.format, written | SF_FORMAT_PCM_16);
  }
}

TEST(OutputFormat, DropsTheInputsByteOrderFlag) {
  const int bigEndianAiff = SF_FORMAT_AIFF | SF_FORMAT_PCM_16 | SF_ENDIAN_BIG;
  EXPECT_EQ(chooseOutputFormat("o.aiff", bigEndianAiff, 44100, 2),
            SF_FORMAT_AIFF | SF_FORMAT_PCM_16);
}

}  // namespace
}  // namespace wrenfold
