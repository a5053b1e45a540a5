// Runs wrenfold-render (and wrenfold-snapshot, which writes through the same output code) against
// the outputs a careless or hostile user gives: the input itself, links, folders, devices, FIFOs,
// long names, signals, leftovers of killed runs and a file-size limit.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "support/RenderHarness.h"

namespace wrenfold::test {
namespace {

namespace fs = std::filesystem;

const std::string effect = WRENFOLD_TEST_EFFECT_PATH;

RunResult render(const std::vector<std::string>& arguments,
                 const Interruption* interruption = nullptr) {
  std::vector<std::string> all = {"--module", effect};
  all.insert(all.end(), arguments.begin(), arguments.end());
  return runRender(all, {}, interruption);
}

std::string bytesOf(const std::string& path) {
  std::ifstream stream(path, std::ios::binary);
  std::stringstream bytes;
  bytes << stream.rdbuf();
  return bytes.str();
}

bool hasTemporary(const std::string& folder) {
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.path().filename().string().find(".part-") != std::string::npos) {
      return true;
    }
  }
  return false;
}

long oneLine(const RunResult& run) { return std::count(run.err.begin(), run.err.end(), '\n'); }

void writeInput(const std::string& path) {
  writeSound(path, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 44100, 2, stereoImpulse(100, 0));
}

// Returns the number of a process that has ended.
pid_t deadProcess() {
  const pid_t child = fork();
  if (child == 0) {
    _exit(0);
  }
  waitpid(child, nullptr, 0);
  return child;
}

TEST(RenderFileSafety, NeverOverwritesItsInput) {
  struct Case {
    const char* what;
    std::string input;
    std::string output;
    std::function<void(const TemporaryFolder&)> prepare;
  };
  const auto none = [](const TemporaryFolder&) {};
  const Case cases[] = {
      {"the same path", "take.wav", "take.wav", none},
      {"through a folder and back", "take.wav", "sub/../take.wav",
       [](const TemporaryFolder& f) { fs::create_directory(f.file("sub")); }},
      {"through a missing folder and back", "take.wav", "missing/../take.wav", none},
      {"{program} naming the input", "plain.wav", "{program}.wav", none},
      {"output linked to the input", "take.wav", "link.wav",
       [](const TemporaryFolder& f) { fs::create_symlink("take.wav", f.file("link.wav")); }},
      {"input linked to the output", "link.wav", "take.wav",
       [](const TemporaryFolder& f) { fs::create_symlink("take.wav", f.file("link.wav")); }},
      {"a hard link", "take.wav", "hard.wav",
       [](const TemporaryFolder& f) {
         fs::create_hard_link(f.file("take.wav"), f.file("hard.wav"));
       }},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    TemporaryFolder folder;
    writeInput(folder.file("take.wav"));
    writeInput(folder.file("plain.wav"));
    test.prepare(folder);
    const std::string before = bytesOf(folder.file(test.input));
    const RunResult run = render(
        {"--set", "Gain=0.25", "--tail", "0", folder.file(test.input), folder.file(test.output)});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(oneLine(run), 1) << run.err;
    EXPECT_NE(run.err.find("is the input file"), std::string::npos) << run.err;
    EXPECT_TRUE(bytesOf(folder.file(test.input)) == before) << "the input changed";
    EXPECT_FALSE(hasTemporary(folder.file("")));
  }
}

TEST(RenderFileSafety, RefusesAnOutputThatIsNoRegularFileAndLeavesItAsItIs) {
  struct Case {
    const char* what;
    std::function<void(const std::string&)> make;
    std::string mention;
  };
  const Case cases[] = {
      {"folder", [](const std::string& path) { fs::create_directory(path); }, "it is a folder"},
      {"FIFO", [](const std::string& path) { mkfifo(path.c_str(), 0644); }, "FIFO"},
      {"link to a folder",
       [](const std::string& path) {
         fs::create_directory(path + ".d");
         fs::create_symlink(path + ".d", path);
       },
       "it is a folder"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    TemporaryFolder folder;
    const std::string out = folder.file("out.wav");
    test.make(out);
    const fs::file_type before = fs::status(out).type();
    const RunResult run = render({"--demo", "--tail", "0", out});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(oneLine(run), 1) << run.err;
    EXPECT_NE(run.err.find(test.mention), std::string::npos) << run.err;
    EXPECT_EQ(fs::status(out).type(), before);
    EXPECT_FALSE(hasTemporary(folder.file("")));
  }
}

TEST(RenderFileSafety, ADeviceAsOutputIsRefusedAndStaysADevice) {
  if (geteuid() != 0) {
    GTEST_SKIP() << "only root could replace a device node";
  }
  const RunResult run = render({"--demo", "--tail", "0", "/dev/null"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("cannot write '/dev/null': it is a device"), std::string::npos) << run.err;
  EXPECT_EQ(fs::symlink_status("/dev/null").type(), fs::file_type::character);
}

TEST(RenderFileSafety, ALinkedOutputReplacesItsTargetAndStaysALink) {
  struct Case {
    const char* what;
    std::vector<std::pair<std::string, std::string>> links;  // name, target
    std::string output;
    std::string target;
  };
  const Case cases[] = {
      {"existing target", {{"link.wav", "real.wav"}}, "link.wav", "real.wav"},
      {"missing target", {{"link.wav", "new.wav"}}, "link.wav", "new.wav"},
      {"relative to the link's folder",
       {{"sub/link.wav", "../real.wav"}},
       "sub/link.wav",
       "real.wav"},
      {"chain of links", {{"a.wav", "b.wav"}, {"b.wav", "real.wav"}}, "a.wav", "real.wav"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    TemporaryFolder folder;
    fs::create_directory(folder.file("sub"));
    std::ofstream(folder.file("real.wav")) << "old contents\n";
    for (const auto& [name, target] : test.links) {
      fs::create_symlink(target, folder.file(name));
    }
    const RunResult run =
        render({"--demo", "--tail", "0", "--block", "64", folder.file(test.output)});
    ASSERT_EQ(run.status, 0) << run.err;
    for (const auto& [name, target] : test.links) {
      EXPECT_EQ(fs::read_symlink(folder.file(name)).string(), target);
    }
    EXPECT_EQ(readSound(folder.file(test.target)).info.channels, 2);
    EXPECT_FALSE(hasTemporary(folder.file("")));
  }
}

TEST(RenderFileSafety, AReplacedFileKeepsItsPermissionBits) {
  const mode_t mask = umask(022);
  umask(mask);
  const std::pair<int, mode_t> cases[] = {
      {-1, 0666 & ~mask}, {0600, 0600}, {0640, 0640}, {0666, 0666}, {0604, 0604},
  };
  for (const auto& [before, after] : cases) {
    SCOPED_TRACE(before);
    TemporaryFolder folder;
    const std::string out = folder.file("out.wav");
    if (before >= 0) {
      std::ofstream(out) << "old contents\n";
      fs::permissions(out, static_cast<fs::perms>(before));
    }
    const RunResult run = render({"--demo", "--tail", "0", out});
    ASSERT_EQ(run.status, 0) << run.err;
    struct stat status {};
    ASSERT_EQ(stat(out.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, after);
  }
}

TEST(RenderFileSafety, NamesUpToTheSystemsLimitCanBeWritten) {
  const std::pair<std::size_t, const char*> cases[] = {
      {245, nullptr}, {255, nullptr}, {256, "File name too long"}};
  for (const auto& [length, failure] : cases) {
    SCOPED_TRACE(length);
    TemporaryFolder folder;
    const std::string out = folder.file(std::string(length - 4, 'n') + ".wav");
    const RunResult run = render({"--tail", "0", out});
    if (failure == nullptr) {
      EXPECT_EQ(run.status, 0) << run.err;
      EXPECT_EQ(readSound(out).info.channels, 2);
    } else {
      EXPECT_EQ(run.status, 1);
      EXPECT_NE(run.err.find(failure), std::string::npos) << run.err;
    }
    EXPECT_FALSE(hasTemporary(folder.file("")));
  }
}

TEST(RenderFileSafety, HangupInterruptTerminateAndBrokenPipeLeaveNoTemporaryFile) {
  for (int signal : {SIGHUP, SIGINT, SIGTERM, SIGPIPE}) {
    SCOPED_TRACE(strsignal(signal));
    TemporaryFolder folder;
    const Interruption interruption{signal, [&] { return hasTemporary(folder.file("")); }};
    // An hour of tail in single-frame blocks runs far longer than the signal takes to arrive.
    const RunResult run =
        render({"--block", "1", "--tail", "3600", folder.file("long.wav")}, &interruption);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("interrupted; nothing written"), std::string::npos) << run.err;
    EXPECT_TRUE(folder.entries().empty());
  }
}

TEST(RenderFileSafety, TheNextRunRemovesWhatKilledRunsLeftBesideItsOutput) {
  TemporaryFolder folder;
  const std::string out = folder.file("out.wav");
  const Interruption kill{SIGKILL, [&] { return hasTemporary(folder.file("")); }};
  ASSERT_EQ(render({"--block", "1", "--tail", "3600", out}, &kill).status, 128 + SIGKILL);
  ASSERT_TRUE(hasTemporary(folder.file("")));
  const std::string dead = std::to_string(deadProcess());
  const std::pair<std::string, bool> planted[] = {
      {".out.wav.part-" + dead, false},
      {".out.wav.part-" + std::to_string(getpid()), true},  // a live process
      {".other.wav.part-" + dead, true},
      {".out.wav.part-" + dead + "x", true},
  };
  for (const auto& [name, kept] : planted) {
    std::ofstream(folder.file(name)) << "partial\n";
  }
  ASSERT_EQ(render({"--tail", "0", out}).status, 0);
  std::vector<std::string> expected = {"out.wav"};
  for (const auto& [name, kept] : planted) {
    if (kept) {
      expected.push_back(name);
    }
  }
  std::vector<std::string> left = folder.entries();
  std::sort(left.begin(), left.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(left, expected);
}

TEST(RenderFileSafety, WriteErrorsCarryTheSystemsReason) {
  struct Case {
    std::string program;
    std::vector<std::string> arguments;
  };
  TemporaryFolder folder;
  const Case cases[] = {
      {WRENFOLD_RENDER_PATH, {"--module", effect, "--tail", "0", folder.file("out.wav")}},
      {WRENFOLD_SNAPSHOT_PATH, {folder.file("out.png")}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.program);
    // A file-size limit of one block makes the write fail as a full disk would.
    std::vector<std::string> arguments = {"-c", "ulimit -f 1; trap '' XFSZ; exec \"$@\"", "sh",
                                          test.program};
    arguments.insert(arguments.end(), test.arguments.begin(), test.arguments.end());
    const RunResult run = runProgram("/bin/sh", arguments);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(oneLine(run), 1) << run.err;
    EXPECT_NE(run.err.find("': File too large"), std::string::npos) << run.err;
    EXPECT_TRUE(folder.entries().empty());
  }
}

TEST(ToolsCommandLine, EveryToolAnswersHelpWithItsUsage) {
  const std::pair<std::string, std::string> cases[] = {
      {WRENFOLD_RENDER_PATH, "usage: wrenfold-render "},
      {WRENFOLD_SNAPSHOT_PATH, "usage: wrenfold-snapshot "},
      {WRENFOLD_INFO_PATH, "usage: wrenfold-info "},
      {WRENFOLD_SKINGEN_PATH, "usage: wrenfold-skingen "},
      {WRENFOLD_SKINSHEET_PATH, "usage: wrenfold-skinsheet "},
  };
  for (const auto& [program, usage] : cases) {
    SCOPED_TRACE(program);
    const RunResult run = runProgram(program, {"--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.rfind(usage, 0), 0u) << run.out;
    EXPECT_EQ(run.err, "");
  }
}

TEST(ToolsCommandLine, SnapshotRefusesEmptyTextsAndUnusableOutputsWithOneLine) {
  TemporaryFolder folder;
  const std::string out = folder.file("out.png");
  fs::create_directory(folder.file("folder.png"));
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--module", "wrenfold.so", out}, "unknown option --module"},
      {{"--program", "", out}, "--program needs a value"},
      {{""}, "the output file name is empty"},
      {{folder.file("folder.png")}, "it is a folder"},
      {{folder.file("missing/out.png")}, "No such file or directory"},
  };
  for (const auto& [arguments, mention] : cases) {
    SCOPED_TRACE(mention);
    const RunResult run = runProgram(WRENFOLD_SNAPSHOT_PATH, arguments);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(oneLine(run), 1) << run.err;
    EXPECT_NE(run.err.find(mention), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(out));
  }
}

}  // namespace
}  // namespace wrenfold::test
