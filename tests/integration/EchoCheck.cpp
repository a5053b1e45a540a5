// wrenfold-echo-check FILE DELAY: checks that a stereo render of one impulse holds the impulse in
// both channels, silence after it, and the first echo exactly DELAY frames later in both channels.
// Exits 0 when it does, 3 when the file holds no impulse at all, 1 on any other fault.
#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr float impulseLevel = 0.5f;
constexpr float silenceLevel = 1e-5f;
constexpr float echoLevel = 0.05f;
constexpr int noImpulse = 3;

int fail(const char* message, long frame, float left, float right) {
  std::printf("FAIL: %s (frame %ld: left %g, right %g)\n", message, frame, left, right);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: wrenfold-echo-check FILE DELAY\n");
    return 2;
  }
  const long delay = std::atol(argv[2]);
  SF_INFO info{};
  SNDFILE* file = sf_open(argv[1], SFM_READ, &info);
  if (file == nullptr) {
    std::printf("FAIL: cannot read %s: %s\n", argv[1], sf_strerror(nullptr));
    return 1;
  }
  if (info.channels != 2) {
    sf_close(file);
    std::printf("FAIL: %s has %d channels, not 2\n", argv[1], info.channels);
    return 1;
  }
  std::vector<float> frames(static_cast<std::size_t>(info.frames) * 2);
  sf_readf_float(file, frames.data(), info.frames);
  sf_close(file);
  const auto left = [&](long frame) { return frames[static_cast<std::size_t>(2 * frame)]; };
  const auto right = [&](long frame) { return frames[static_cast<std::size_t>(2 * frame + 1)]; };

  long impulse = 0;
  while (impulse < info.frames &&
         !(std::fabs(left(impulse)) >= impulseLevel && std::fabs(right(impulse)) >= impulseLevel)) {
    ++impulse;
  }
  if (impulse == info.frames) {
    std::printf("FAIL: no impulse in both channels\n");
    return noImpulse;
  }
  const long echo = impulse + delay;
  if (echo >= info.frames) {
    return fail("the file ends before the echo", impulse, left(impulse), right(impulse));
  }
  for (long frame = impulse + 1; frame < echo; ++frame) {
    if (std::fabs(left(frame)) > silenceLevel || std::fabs(right(frame)) > silenceLevel) {
      return fail("sound between the impulse and its echo", frame, left(frame), right(frame));
    }
  }
  if (std::fabs(left(echo)) < echoLevel || std::fabs(right(echo)) < echoLevel) {
    return fail("no echo in both channels", echo, left(echo), right(echo));
  }
  std::printf("impulse at frame %ld; echo %ld frames later: left %g, right %g\n", impulse, delay,
              left(echo), right(echo));
  return 0;
}
