// Processing must not allocate, call the host, leave its floating-point mode behind or bring in
// pages in bulk: the test binary's global allocation functions count every allocation, a
// recording host callback counts every call, and the system counts the pages first touched.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <xmmintrin.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "delay/DelayEffect.h"
#include "hostkit/Host.h"
#include "params/ParameterTable.h"

namespace {

std::atomic<long> allocationCount{0};
std::atomic<long long> allocatedBytes{0};

void* countedAllocation(std::size_t size) {
  allocationCount.fetch_add(1, std::memory_order_relaxed);
  allocatedBytes.fetch_add(static_cast<long long>(size), std::memory_order_relaxed);
  return std::malloc(size == 0 ? 1 : size);
}

// Kept out of line so that the compiler does not pair an inlined new with this free.
[[gnu::noinline]] void release(void* block) noexcept { std::free(block); }

}  // namespace

void* operator new(std::size_t size) {
  if (void* block = countedAllocation(size)) return block;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
  if (void* block = countedAllocation(size)) return block;
  throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return countedAllocation(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return countedAllocation(size);
}
void operator delete(void* block) noexcept { release(block); }
void operator delete[](void* block) noexcept { release(block); }
void operator delete(void* block, std::size_t) noexcept { release(block); }
void operator delete[](void* block, std::size_t) noexcept { release(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { release(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { release(block); }

namespace wrenfold {
namespace {

std::vector<hostkit::HostCall>& hostCalls = hostkit::Host::shared().calls();

TEST(ProcessingAllocation, CountingHookSeesAllocations) {
  const long before = allocationCount.load();
  std::vector<int>* probe = new std::vector<int>(10);
  delete probe;
  EXPECT_GE(allocationCount.load() - before, 2);
}

TEST(ProcessingAllocation, InstanceAt44100HzNeedsAtMostFourMegabytes) {
  const long long before = allocatedBytes.load();
  DelayEffect* effect = new DelayEffect(nullptr);
  const long long bytes = allocatedBytes.load() - before;
  delete effect;
  EXPECT_LE(bytes, 4000000);
  // Each delay line holds four seconds at 44100 Hz; the envelopes hold no table.
  EXPECT_GE(bytes, 2 * 176400 * 4);
}

TEST(ProcessingAllocation, ProcessingAllocatesNothingCallsNoHostAndKeepsTheFloatState) {
  const unsigned int defaultFloatState = _mm_getcsr();
  DelayEffect effect(hostkit::Host::callback());
  std::vector<float> inL(4096), inR(4096), outL(4096), outR(4096);
  for (size_t i = 0; i < inL.size(); ++i) {
    inL[i] = static_cast<float>(i % 100) / 100.0f - 0.5f;
    inR[i] = -inL[i];
  }
  float* ins[2] = {inL.data(), inR.data()};
  float* outs[2] = {outL.data(), outR.data()};

  for (int32_t program = 0; program < programCountTotal; ++program) {
    SCOPED_TRACE(program);
    effect.selectProgram(program);
    for (float bypass : {0.0f, 1.0f}) {
      effect.applyParameter(Bypass, bypass);
      const long allocationsBefore = allocationCount.load();
      const std::size_t callsBefore = hostCalls.size();
      for (int32_t frames : {1, 64, 512, 4096}) {
        // The caller's flush-to-zero and denormals-are-zero come back as they were, set or not
        // (the low six bits are exception flags, which arithmetic sets).
        const unsigned int callers = frames == 64 ? defaultFloatState | 0x8040 : defaultFloatState;
        _mm_setcsr(callers);
        effect.processOverwriting(ins, outs, frames);
        effect.processAdding(ins, outs, frames);
        EXPECT_EQ(_mm_getcsr() & ~0x3Fu, callers & ~0x3Fu);
        _mm_setcsr(defaultFloatState);
      }
      EXPECT_EQ(allocationCount.load() - allocationsBefore, 0);
      EXPECT_EQ(hostCalls.size(), callsBefore);
    }
  }
}

// A few pages: far fewer than the 344 of the two lines. The address sanitizer adds shadow pages
// of its own for each allocation.
#ifdef __SANITIZE_ADDRESS__
constexpr long fewPages = 100;
#else
constexpr long fewPages = 16;
#endif

// Returns the pages this process has touched for the first time so far.
long minorFaults() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_minflt;
}

TEST(ProcessingAllocation, RestartAndClearAtTheLongestDelayBringInAFewPages) {
  // Each row: a restart or a clear, on a new effect's lines (4 seconds at 44100 Hz, 172 pages
  // each) at the longest delay, written for one block: building, restarting and clearing them
  // must not touch the rest. Each effect lives to the end, so no row gets storage back that an
  // earlier one touched.
  const std::pair<int32_t, float> rows[] = {{TempoL, 0.0f}, {ClearBuffer, 1.0f}};
  std::vector<float> in(64, 0.25f), out(64), out2(64);
  float* ins[2] = {in.data(), in.data()};
  float* outs[2] = {out.data(), out2.data()};
  std::vector<std::unique_ptr<DelayEffect>> effects;
  for (const auto& [index, value] : rows) {
    SCOPED_TRACE(parameterName(index));
    const long before = minorFaults();
    effects.push_back(std::make_unique<DelayEffect>(nullptr));
    DelayEffect& effect = *effects.back();
    for (int32_t longest : {TempoL, TempoR, NoteLenL, NoteLenR})
      effect.applyParameter(longest, 0.0f);
    effect.processOverwriting(ins, outs, 64);
    effect.applyParameter(index, value);
    effect.processOverwriting(ins, outs, 64);
    EXPECT_LE(minorFaults() - before, fewPages);
    EXPECT_EQ(effect.delayLength(0), 4 * 44100);
  }
}

}  // namespace
}  // namespace wrenfold
