// Runs the tools as a new and then a hostile user would: a FIFO as input, a header that promises
// more than the file holds, an input cut short while it is rendered, hexadecimal and tiny numbers,
// a 100 KB argument, read-only outputs and folders, a PNG under another name, --help and
// --version everywhere, slugs as program names, an echo that outlasts the automatic tail, the
// timing's parts and the waveform plot.
#include <cairo.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "support/RenderHarness.h"

namespace wrenfold::test {
namespace {

const std::string effect = WRENFOLD_TEST_EFFECT_PATH;
const std::string renderTool = WRENFOLD_RENDER_PATH;
const std::string snapshotTool = WRENFOLD_SNAPSHOT_PATH;
constexpr uint32_t promisedFrames = 44100 * 600;

// Writes the size of the data chunk of a WAV file with a plain 44-byte header.
void declareDataBytes(const std::string& path, uint32_t bytes) {
  std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
  const char size[4] = {static_cast<char>(bytes), static_cast<char>(bytes >> 8),
                        static_cast<char>(bytes >> 16), static_cast<char>(bytes >> 24)};
  file.seekp(40);  // the data chunk's size in a plain 44-byte header
  file.write(size, 4);
}

// Returns the seconds of each "N s" in a --timing line: the audio's, the run's, then the parts'.
std::vector<double> secondsIn(const std::string& line) {
  std::vector<double> seconds;
  std::istringstream words(line);
  std::string previous;
  for (std::string word; words >> word; previous = word) {
    if (word == "s") {
      seconds.push_back(std::stod(previous));
    }
  }
  return seconds;
}

struct Case {
  std::string what;
  std::string program;
  std::vector<std::string> arguments;
  int status;
  std::string errorMention;  // empty: nothing on stderr
  std::function<void(const RunResult&)> check = nullptr;
};

TEST(ToolsCommandLine, BehaveAsACarefulUserExpects) {
  TemporaryFolder folder;
  const std::string out = folder.file("out.wav");
  mkfifo(folder.file("fifo.wav").c_str(), 0600);
  writeSound(folder.file("short.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 2,
             stereoImpulse(100, 0));
  declareDataBytes(folder.file("short.wav"), 4 * promisedFrames);
  // A WAV written as a stream, by a program that never learnt its length.
  writeSound(folder.file("streamed.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 2,
             stereoImpulse(100, 0));
  declareDataBytes(folder.file("streamed.wav"), 0xFFFFFFFF);
  writeSound(folder.file("sound.png"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 2,
             stereoImpulse(100, 0));
  writeSound(folder.file("768k.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, 768000, 2,
             stereoImpulse(100, 0));
  std::vector<float> right = stereoImpulse(100, 0);
  for (std::size_t i = 0; i < right.size(); i += 2) right[i] = 0.0f;
  writeSound(folder.file("right.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, 44100, 2, right);
  std::ofstream(folder.file("song.wav")) << "a song\n";
  writeSound(folder.file("long.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 2,
             stereoImpulse(44100 * 20, 0));
  writeSound(folder.file("in.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, 44100, 2,
             stereoImpulse(100, 0));
  std::ofstream(folder.file("readonly.wav")) << "kept\n";
  chmod(folder.file("readonly.wav").c_str(), 0444);
  const std::string huge(100000, '7');
  const std::string listing =
      runProgram(renderTool, {"--module", WRENFOLD_MODULE_PATH, "--list"}).out;
  const std::string version = listing.substr(listing.find('\n') + 1);

  const auto versionMatchesTheModule = [&](const RunResult& run) {
    // The module calls itself "Wrenfold version<the version>".
    const std::string number =
        run.out.substr(run.out.rfind(' ') + 1, run.out.size() - run.out.rfind(' ') - 2);
    EXPECT_FALSE(number.empty());
    EXPECT_EQ(version.rfind("Wrenfold version" + number + "\n", 0), 0u) << run.out << version;
  };
  const auto nothingWritten = [&](const RunResult&) { EXPECT_FALSE(std::filesystem::exists(out)); };
  const auto pngExists = [&](const RunResult&) {
    cairo_surface_t* plot = cairo_image_surface_create_from_png(folder.file("plain.png").c_str());
    EXPECT_EQ(cairo_surface_status(plot), CAIRO_STATUS_SUCCESS);
    cairo_surface_destroy(plot);
  };
  const auto timingAddsUp = [](const RunResult& run) {
    const std::vector<double> seconds = secondsIn(run.err);
    ASSERT_EQ(seconds.size(), 6u) << run.err;
    EXPECT_NEAR(seconds[2] + seconds[3] + seconds[4] + seconds[5], seconds[1], 0.003) << run.err;
  };
  const auto shortRead = [&](const RunResult& run) {
    EXPECT_EQ(run.out.rfind("plain\t", 0), 0u) << run.out;
    EXPECT_EQ(readSound(out).info.frames, 100);
  };
  // Each value --list prints, given back to --set, shows the same display again.
  const auto listedValuesGiveTheirDisplaysBack = [&](const RunResult& run) {
    std::vector<std::string> again = {"--module", WRENFOLD_MODULE_PATH, "--list"};
    const auto displays = [&again](const std::string& listing) {
      std::istringstream lines(listing.substr(listing.find("display\n") + 8));
      std::string index, name, value, display, shown;
      for (; lines >> index >> name >> value >> display; shown += name + " " + display + "\n")
        again.insert(again.end(), {"--set", name + "=" + value});
      return shown;
    };
    const std::string listed = displays(run.out);
    EXPECT_EQ(displays(runProgram(renderTool, again).out), listed);
    for (const char* text : {"TempoL BPM128", "TempoR BPM128", "NoteLenL 1/8", "FeedBackL 50%",
                             // near the top of a cutoff, where each hertz is narrower than the grid
                             "LpfCutoff 19901Hz", "HpfCutoff 19850Hz"})
      EXPECT_NE(listed.find(text), std::string::npos) << text;
  };
  // A right-only input draws the lower lane as an input on both channels does, and the upper one
  // otherwise (both end before their first echo).
  const auto rightLaneDrawsTheRightChannel = [&](const RunResult&) {
    runProgram(renderTool, {"--module", effect, "--tail", "0", "--plot", folder.file("both.png"),
                            folder.file("in.wav"), folder.file("b.wav")});
    cairo_surface_t* plots[] = {
        cairo_image_surface_create_from_png(folder.file("right.png").c_str()),
        cairo_image_surface_create_from_png(folder.file("both.png").c_str())};
    const unsigned char* right = cairo_image_surface_get_data(plots[0]);
    const unsigned char* both = cairo_image_surface_get_data(plots[1]);
    const long half =
        cairo_image_surface_get_height(plots[0]) / 2 * cairo_image_surface_get_stride(plots[0]);
    EXPECT_FALSE(std::equal(right, right + half, both));
    EXPECT_TRUE(std::equal(right + half, right + 2 * half, both + half));
    for (cairo_surface_t* plot : plots) cairo_surface_destroy(plot);
  };
  // The 2x snapshot is the 1x picture (it averages down to it) drawn for its scale: a picture
  // enlarged from the 1x one has no 2 x 2 block with differing pixels, this one has many.
  const auto drawnAtTwice = [&](const RunResult&) {
    runProgram("/usr/bin/env", {"WRENFOLD_EDITOR_SCALE=3", snapshotTool, folder.file("1x.png")});
    cairo_surface_t* one = cairo_image_surface_create_from_png(folder.file("1x.png").c_str());
    cairo_surface_t* two = cairo_image_surface_create_from_png(folder.file("2x.png").c_str());
    const int width = cairo_image_surface_get_width(one);
    const int height = cairo_image_surface_get_height(one);
    ASSERT_EQ(std::make_pair(width, height), std::make_pair(350, 430))
        << "1x whatever the user's scale";
    ASSERT_EQ(cairo_image_surface_get_width(two), 2 * width);
    ASSERT_EQ(cairo_image_surface_get_height(two), 2 * height);
    const auto channel = [](cairo_surface_t* image, int x, int y, int shift) {
      const unsigned char* row =
          cairo_image_surface_get_data(image) + y * cairo_image_surface_get_stride(image);
      return static_cast<int>(reinterpret_cast<const uint32_t*>(row)[x] >> shift & 0xff);
    };
    double difference = 0;
    int detailedBlocks = 0;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        for (int shift : {0, 8, 16}) {
          int sum = 0, lowest = 255, highest = 0;
          for (int corner = 0; corner < 4; ++corner) {
            const int value = channel(two, 2 * x + corner % 2, 2 * y + corner / 2, shift);
            sum += value;
            lowest = std::min(lowest, value);
            highest = std::max(highest, value);
          }
          difference += std::abs(sum / 4.0 - channel(one, x, y, shift));
          detailedBlocks += highest - lowest > 32 ? 1 : 0;
        }
    EXPECT_LT(difference / (3.0 * width * height), 2.5);
    EXPECT_GT(detailedBlocks, width * height / 50);
    for (cairo_surface_t* image : {one, two}) cairo_surface_destroy(image);
  };
  const auto outputMentions = [](const std::string& text) {
    return [text](const RunResult& run) {
      EXPECT_NE(run.out.find(text), std::string::npos) << run.out;
    };
  };
  const std::string in = folder.file("in.wav");
  const std::string readOnly = folder.file("readonly.wav");
  // What, program, arguments, exit status, what stderr mentions ("" for nothing), a further check.
  const Case cases[] = {
      {"a FIFO as input fails at once instead of waiting for a writer",
       "/usr/bin/timeout",
       {"5", renderTool, "--module", effect, folder.file("fifo.wav"), out},
       1,
       "not a regular file",
       nothingWritten},
      {"a header promising more is a warning naming both counts",
       renderTool,
       {"--module", effect, "--tail", "0", "--stats", folder.file("short.wav"), out},
       0,
       "warning: '" + folder.file("short.wav") + "' is shorter than its header says: " +
           std::to_string(promisedFrames) + " frames declared, 100 read",
       shortRead},
      {"hexadecimal is no decimal number",
       renderTool,
       {"--tail", "0x10", out},
       1,
       "--tail needs a decimal number of seconds from 0 to 3600, not '0x10'",
       nothingWritten},
      {"block sizes name their range", renderTool, {"--block", "0x10", out}, 1, "from 1 to 65536"},
      {"the largest block is allowed",
       renderTool,
       {"--module", effect, "--block", "65536", in, out},
       0,
       ""},
      {"a value too small for a double is zero",
       renderTool,
       {"--module", effect, "--set", "Gain=1e-320", "--list"},
       0,
       "",
       outputMentions("Gain          0.0000")},
      {"a 100 KB argument is shortened in the message",
       renderTool,
       {"--module", effect, "--set", "Gain=" + huge, out},
       1,
       "--set Gain: no value shows '777",
       [](const RunResult& run) { EXPECT_LT(run.err.size(), 400u) << run.err.size(); }},
      {"a text no value shows is refused with the range",
       renderTool,
       {"--module", effect, "--set", "Gain=.", out},
       1,
       "--set Gain: no value shows '.'; give a normalised value from 0 to 1 or a text Gain shows, "
       "from",
       nothingWritten},
      {"values in the units people read, listed so that they come back",
       renderTool,
       {"--module", WRENFOLD_MODULE_PATH, "--set", "TempoL=128 bpm", "--set", "NoteLenL=1/8",
        "--set", "FeedBackL=50%", "--set", "LpfCutoff=19901hz", "--set", "HpfCutoff=19850 Hz",
        "--set", "Bypass=on", "--set", "TempoR=0.48571429", "--list"},
       0,
       "",
       listedValuesGiveTheirDisplaysBack},
      {"a switch turned off by its word",
       renderTool,
       {"--module", WRENFOLD_MODULE_PATH, "--set", "Bypass=on", "--set", "Bypass=off", "--list"},
       0,
       "",
       outputMentions("Bypass        0.0000")},
      {"a decimal that reads both ways gives the display, blank or not, and says so",
       renderTool,
       {"--module", WRENFOLD_MODULE_PATH, "--set", " LpfQ = 0.7 ", "--set", "NoteLenL=0.25",
        "--set", "FeedBackR=0.7", "--list"},
       0,
       "note: --set LpfQ=0.7 reads as the display 0.7; for the normalised value 0.7 (display 3.0) "
       "write LpfQ=0.7norm",
       [](const RunResult& run) {
         EXPECT_NE(run.err.find("--set NoteLenL=0.25 reads as the display 1/4;"), std::string::npos)
             << run.err;
         EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 2) << run.err;
         for (const char* text : {"LpfQ          0.0500  0.7\n", "NoteLenL     0.5000norm  1/4\n",
                                  "FeedBackR     0.7000  69%\n"})
           EXPECT_NE(run.out.find(text), std::string::npos) << text << run.out;
       }},
      {"the norm suffix asks for the normalised value; the editor's milliseconds are read",
       renderTool,
       {"--module", WRENFOLD_MODULE_PATH, "--set", "LpfQ=0.7NORM", "--set", "RevAttack=25ms",
        "--set", "RevRelease=off", "--list"},
       0,
       "",
       [](const RunResult& run) {
         for (const char* text : {"LpfQ         0.7000norm  3.0\n", "RevAttack     0.5000  0.5\n",
                                  "RevRelease    0.0000  0.0\n"})
           EXPECT_NE(run.out.find(text), std::string::npos) << text << run.out;
       }},
      {"a note length no value shows lists the 14 choices",
       renderTool,
       {"--module", WRENFOLD_MODULE_PATH, "--set", "NoteLenR=1/5", out},
       1,
       "--set NoteLenR: no value shows '1/5'; give one of 1, 1/2+1/4, 2/3, 1/2, 1/4+1/8, 1/3, 1/4, "
       "1/8+1/16, 1/8, 1/16+1/32, 1/12, 1/16, 1/32, 1/64, or"},
      {"milliseconds are the ramps' alone",
       renderTool,
       {"--module", WRENFOLD_MODULE_PATH, "--set", "FeedBackL=25ms", out},
       1,
       "--set FeedBackL: no value shows '25ms'"},
      {"a mode no value shows lists both",
       renderTool,
       {"--module", WRENFOLD_MODULE_PATH, "--set", "NomorRev=sideways", out},
       1,
       "--set NomorRev: no value shows 'sideways'; give one of normal, reverse, or a normalised "
       "value from 0 to 1"},
      {"one file name that exists is kept",
       renderTool,
       {"--module", effect, folder.file("song.wav")},
       1,
       "to render the demo phrase over it: --demo",
       [&](const RunResult&) {
         EXPECT_EQ(std::filesystem::file_size(folder.file("song.wav")), 7u);
       }},
      {"a positive tail may carry its sign",
       renderTool,
       {"--module", effect, "--tail", "+2", in, out},
       0,
       "",
       [&](const RunResult&) { EXPECT_EQ(readSound(out).info.frames, 100 + 2 * 44100); }},
      {"AIFF that may pass 4 GiB is refused before any work",
       renderTool,
       {"--module", effect, "--tail", "3600", folder.file("768k.wav"), folder.file("out.aiff")},
       1,
       "AIFF holds at most 4 GiB of audio and this render may reach 15.45 GiB; write .w64, .rf64, "
       ".caf or .flac instead",
       [&](const RunResult&) { EXPECT_FALSE(std::filesystem::exists(folder.file("out.aiff"))); }},
      {"a streamed WAV's unknown length is no shortfall",
       renderTool,
       {"--module", effect, "--tail", "0", "--stats", folder.file("streamed.wav"), out},
       0,
       "",
       shortRead},
      {"a read-only output is refused, also for root",
       renderTool,
       {"--module", effect, "--demo", readOnly},
       1,
       "cannot write '" + readOnly + "'",
       [&](const RunResult&) {
         std::ifstream kept(readOnly);
         EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "kept\n");
       }},
      {"a folder that refuses new files is named",
       renderTool,
       {"--module", effect, "/sys/out.wav"},
       1,
       "cannot create a file in the folder '/sys'"},
      {"--list takes no files",
       renderTool,
       {"--module", effect, "--list", in, out},
       1,
       "--list only prints the programs and parameters; it takes no files"},
      {"the slug {program} writes selects the program again",
       renderTool,
       {"--module", WRENFOLD_MODULE_PATH, "--program", "reverse-fx", "--list"},
       0,
       "",
       outputMentions("*  2  reverse FX")},
      {"an echo outlasting the automatic tail is reported",
       renderTool,
       {"--module", effect, "--program", "echo", "--set", "Feedback=1", in, out},
       0,
       "warning: the echoes still sound after the 30 s limit"},
      {"the timing's parts add up to the total",
       renderTool,
       {"--module", effect, "--timing", in, out},
       0,
       "rendered ",
       timingAddsUp},
      {"the plot is a PNG of its own",
       renderTool,
       {"--module", effect, "--plot", folder.file("{program}.png"), in, out},
       0,
       "",
       pngExists},
      {"a plot that cannot be written is refused before the render",
       renderTool,
       {"--module", effect, "--plot", folder.file("nodir/p.png"), in, out},
       1,
       "cannot create a file in the folder",
       nothingWritten},
      {"a plot never replaces the input",
       renderTool,
       {"--module", effect, "--plot", folder.file("sound.png"), folder.file("sound.png"), out},
       1,
       "is the input file",
       [&](const RunResult&) { EXPECT_EQ(readSound(folder.file("sound.png")).info.frames, 100); }},
      {"the plot's right lane draws the right channel",
       renderTool,
       {"--module", effect, "--tail", "0", "--plot", folder.file("right.png"),
        folder.file("right.wav"), out},
       0,
       "",
       rightLaneDrawsTheRightChannel},
      {"the plot refuses other formats' names",
       renderTool,
       {"--module", effect, "--plot", folder.file("plot.jpg"), in, out},
       1,
       "give a name ending in .png",
       nothingWritten},
      {"the snapshot refuses other formats' names",
       snapshotTool,
       {folder.file("editor.jpg")},
       1,
       "give a name ending in .png",
       [&](const RunResult&) { EXPECT_FALSE(std::filesystem::exists(folder.file("editor.jpg"))); }},
      {"the snapshot's '-' is no option", snapshotTool, {"-"}, 1, "'-' (standard input or output)"},
      {"the snapshot expands {program}",
       snapshotTool,
       {"--program", "2", folder.file("{program}.png")},
       0,
       "",
       [&](const RunResult&) {
         EXPECT_TRUE(std::filesystem::exists(folder.file("reverse-fx.png")));
       }},
      {"the snapshot's {program} is program 0's without --program",
       snapshotTool,
       {folder.file("{program}.png")},
       0,
       "",
       [&](const RunResult&) { EXPECT_TRUE(std::filesystem::exists(folder.file("init.png"))); }},
      {"a switch's words are no value of another parameter",
       renderTool,
       {"--module", WRENFOLD_MODULE_PATH, "--set", "FeedBackL=on", out},
       1,
       "--set FeedBackL: no value shows 'on'",
       nothingWritten},
      {"preview takes one module",
       WRENFOLD_PREVIEW_PATH,
       {WRENFOLD_MODULE_PATH, WRENFOLD_MODULE_PATH},
       1,
       "only one module, not also"},
      {"the snapshot at scale 2 is drawn for it, not enlarged",
       snapshotTool,
       {"--scale", "2", folder.file("2x.png")},
       0,
       "",
       drawnAtTwice},
      {"the snapshot's scale is a quarter step from 1 to 3",
       snapshotTool,
       {"--scale", "1.1", folder.file("x.png")},
       1,
       "--scale takes 1 to 3 in steps of 0.25 (1, 1.25, 1.5 ... 3), not '1.1'"},
      {"preview's seconds are positive",
       WRENFOLD_PREVIEW_PATH,
       {"--seconds", "0", WRENFOLD_MODULE_PATH},
       1,
       "--seconds needs a positive decimal number"},
      {"preview names the display it cannot open",
       "/usr/bin/env",
       {"DISPLAY=:99999", WRENFOLD_PREVIEW_PATH, WRENFOLD_MODULE_PATH},
       1,
       "cannot open the display ':99999'"},
      {"info's wrong usage is one line",
       WRENFOLD_INFO_PATH,
       {"--frobnicate"},
       1,
       "unknown option '--frobnicate'",
       [](const RunResult& run) {
         EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1);
       }},
      {"skingen's wrong usage is one line",
       WRENFOLD_SKINGEN_PATH,
       {},
       1,
       "no output folder given",
       [](const RunResult& run) {
         EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1);
       }},
      {"preview answers --help",
       WRENFOLD_PREVIEW_PATH,
       {"--help"},
       0,
       "",
       [](const RunResult& run) { EXPECT_EQ(run.out.rfind("usage: wrenfold-preview ", 0), 0u); }},
      {"render's version", renderTool, {"--version"}, 0, "", versionMatchesTheModule},
      {"snapshot's version", snapshotTool, {"--version"}, 0, "", versionMatchesTheModule},
      {"info's version", WRENFOLD_INFO_PATH, {"--version"}, 0, "", versionMatchesTheModule},
      {"preview's version", WRENFOLD_PREVIEW_PATH, {"--version"}, 0, "", versionMatchesTheModule},
      {"skingen's version", WRENFOLD_SKINGEN_PATH, {"--version"}, 0, "", versionMatchesTheModule},
      {"skinsheet's version",
       WRENFOLD_SKINSHEET_PATH,
       {"--version"},
       0,
       "",
       versionMatchesTheModule},
      {"info finds the module as render does and names it first",
       WRENFOLD_INFO_PATH,
       {},
       0,
       "",
       outputMentions(listing.substr(0, listing.find('\n')) +
                      "\neffect: " + version.substr(0, version.find('\n')))},
      {"--list names the module first, absolute",
       "/usr/bin/env",
       {"-C", std::filesystem::path(WRENFOLD_MODULE_PATH).parent_path().string(), renderTool,
        "--module", "./wrenfold.so", "--list"},
       0,
       "",
       [](const RunResult& run) {
         EXPECT_EQ(run.out.rfind(std::string("module: ") + WRENFOLD_MODULE_PATH + "\n", 0), 0u)
             << run.out;
       }},
      {"preview finds the module as the other tools do",
       "/usr/bin/env",
       {"DISPLAY=:99999", WRENFOLD_PREVIEW_PATH},
       1,
       "cannot open the display ':99999'"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    std::filesystem::remove(out);
    const RunResult run = runProgram(test.program, test.arguments);
    EXPECT_EQ(run.status, test.status) << run.err;
    if (test.errorMention.empty()) {
      EXPECT_EQ(run.err, "");
    } else {
      EXPECT_NE(run.err.find(test.errorMention), std::string::npos) << run.err;
    }
    if (test.check) {
      test.check(run);
    }
  }
}

TEST(ToolsCommandLine, AnInputCutShortWhileItIsRenderedIsAnErrorAndWritesNothing) {
  TemporaryFolder folder;
  const std::string in = folder.file("in.wav");
  writeSound(in, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 2, stereoImpulse(44100 * 60, 0));
  // Cuts the file once its render has begun writing; signal 0 only probes the process.
  const Interruption cut{0, [&] {
                           const std::vector<std::string> names = folder.entries();
                           const bool started =
                               std::any_of(names.begin(), names.end(), [](const std::string& name) {
                                 return name.find(".part-") != std::string::npos;
                               });
                           if (started) {
                             std::filesystem::resize_file(in, 100000);
                           }
                           return started;
                         }};
  const RunResult run = runRender(
      {"--module", effect, "--block", "4", "--tail", "0", in, folder.file("out.wav")}, {}, &cut);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("was cut short while it was rendered"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("; nothing written"), std::string::npos) << run.err;
  EXPECT_EQ(folder.entries(), std::vector<std::string>{"in.wav"});
}

}  // namespace
}  // namespace wrenfold::test
