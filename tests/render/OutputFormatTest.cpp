#include <gtest/gtest.h>
#include <sndfile.h>

#include "tools/render/OutputFormat.h"

namespace wrenfold {
namespace {

TEST(OutputFormat, ExtensionNamesTheMajorFormatWhateverItsCase) {
  const std::pair<const char*, int> cases[] = {
      {"a.wav", SF_FORMAT_WAV},     {"a.WAV", SF_FORMAT_WAV},   {"a.flac", SF_FORMAT_FLAC},
      {"a.aiff", SF_FORMAT_AIFF},   {"a.aif", SF_FORMAT_AIFF},  {"a.ogg", SF_FORMAT_OGG},
      {"dir.wav/a", 0},             {"a", 0},                   {"a.mp4", 0},
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
  EXPECT_EQ(chooseOutputFormat("out.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 44100, 2), SF_FORMAT_WAV | SF_FORMAT_PCM_24);
  EXPECT_EQ(chooseOutputFormat("out", SF_FORMAT_WAV | SF_FORMAT_ULAW, 44100, 2), SF_FORMAT_WAV | SF_FORMAT_PCM_24);
}

TEST(OutputFormat, WithoutAnInputFileANameWithoutExtensionWritesWav) {
  EXPECT_EQ(chooseOutputFormat("out", 0, 44100, 2), SF_FORMAT_WAV | SF_FORMAT_PCM_24);
  EXPECT_EQ(chooseOutputFormat("out.flac", 0, 44100, 2), SF_FORMAT_FLAC | SF_FORMAT_PCM_24);
}

TEST(OutputFormat, DropsTheInputsByteOrderFlag) {
  const int bigEndianAiff = SF_FORMAT_AIFF | SF_FORMAT_PCM_16 | SF_ENDIAN_BIG;
  EXPECT_EQ(chooseOutputFormat("o.aiff", bigEndianAiff, 44100, 2),
            SF_FORMAT_AIFF | SF_FORMAT_PCM_16);
}

}  // namespace
}  // namespace wrenfold
