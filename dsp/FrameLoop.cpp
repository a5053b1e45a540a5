#include "dsp/FrameLoop.h"

#include <algorithm>
#include <type_traits>

#include "dsp/DelayLine.h"
#include "dsp/LoopFilter.h"
#include "dsp/ReverseEnvelope.h"

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define WRENFOLD_TWO_LANES 1
#endif

// The two loops agree bit for bit only while every product and sum is rounded to single
// precision as written: no fused multiply-add (-ffp-contract=off) and no reassociation.
#ifdef __FAST_MATH__
#error "the delay's processing must not be built with -ffast-math"
#endif

namespace wrenfold {

namespace {

// Runs a loop template with the three switches as compile-time constants, so that each
// combination runs branch-free.
template <typename Loop>
void withModes(const FrameModes& modes, Loop loop) {
  using On = std::true_type;
  using Off = std::false_type;
  switch ((modes.reversed ? 4 : 0) + (modes.bypassed ? 2 : 0) + (modes.replacing ? 1 : 0)) {
    case 0:
      loop(Off{}, Off{}, Off{});
      break;
    case 1:
      loop(Off{}, Off{}, On{});
      break;
    case 2:
      loop(Off{}, On{}, Off{});
      break;
    case 3:
      loop(Off{}, On{}, On{});
      break;
    case 4:
      loop(On{}, Off{}, Off{});
      break;
    case 5:
      loop(On{}, Off{}, On{});
      break;
    case 6:
      loop(On{}, On{}, Off{});
      break;
    default:
      loop(On{}, On{}, On{});
      break;
  }
}

// Returns 0.0 for an infinite or NaN sample, the sample otherwise.
inline float finiteOrZero(float sample) { return overflowed(sample) ? 0.0f : sample; }

// One channel during a scalar block: cursors and a filter copy keep positions and history local.
struct ScalarChannel {
  explicit ScalarChannel(const DelayChannel& channel)
      : line(channel.line->openCursor()),
        shape(channel.envelope->openCursor()),
        filter(*channel.filter),
        feedback(channel.feedback) {}
  // Hands positions and filter history back to the channel's units.
  void close(const DelayChannel& channel) const {
    channel.line->closeCursor(line);
    channel.envelope->closeCursor(shape);
    channel.filter->keepHistoryOf(filter);
  }

  DelayLine::Cursor line;
  ReverseEnvelope::Cursor shape;
  LoopFilter filter;
  float feedback;
};

// Runs steps 1 to 5 of one frame on one channel and returns the delayed sample to be heard.
template <bool isReversed>
inline float runLoop(ScalarChannel& channel, float in) {
  // 1. Read the delay, forwards or backwards.
  float delayed = isReversed ? channel.line.readBackwards() : channel.line.readForwards();
  // 2. Input plus feedback, flushed when its exponent is zero; a non-finite input enters the
  //    loop as silence.
  float sum = delayed * channel.feedback + in;
  if (!isNormal(sum)) sum = flushToZero(delayed * channel.feedback + finiteOrZero(in));
  // 3. Filter, whose result is flushed likewise, and hold it within the loop bound.
  const float filtered = boundedLoopSample(channel.filter.filterFlushed(sum));
  // 4. Write it into the delay.
  channel.line.write(filtered);
  // 5. In reverse mode the envelope shapes what is heard, not what is fed back.
  if (isReversed) delayed *= channel.shape.next();
  return delayed;
}

template <bool isReversed, bool isBypassed, bool isReplacing>
void scalarFrames(ScalarChannel (&loops)[2], const DelayChannel (&channels)[2],
                  const FrameBuffers& buffers) {
  const DelayChannel& left = channels[0];
  const DelayChannel& right = channels[1];
  for (int32_t i = 0; i < buffers.frames; ++i) {
    const float in[2] = {buffers.inLeft[i], buffers.inRight[i]};
    float delayed[2];
    for (int32_t c = 0; c < 2; ++c) delayed[c] = runLoop<isReversed>(loops[c], in[c]);

    // 6. Mix: panned wet signals plus dry, or the plain input when bypassed.
    //    A non-finite input sample is silence on the dry path as in the loop.
    float outLeft = in[0];
    float outRight = in[1];
    if (!isBypassed) {
      outLeft = right.wetToLeft * delayed[1] + left.wetToLeft * delayed[0] +
                left.dry * finiteOrZero(in[0]);
      outRight = right.wetToRight * delayed[1] + left.wetToRight * delayed[0] +
                 right.dry * finiteOrZero(in[1]);
    }

    // 7. Overwrite or accumulate.
    if (isReplacing) {
      buffers.outLeft[i] = outLeft;
      buffers.outRight[i] = outRight;
    } else {
      buffers.outLeft[i] += outLeft;
      buffers.outRight[i] += outRight;
    }
  }
}

}  // namespace

void runScalarFrames(DelayChannel (&channels)[2], const FrameBuffers& buffers,
                     const FrameModes& modes) {
  ScalarChannel loops[2] = {ScalarChannel(channels[0]), ScalarChannel(channels[1])};
  withModes(modes, [&](auto reversed, auto bypassed, auto replacing) {
    scalarFrames<decltype(reversed)::value, decltype(bypassed)::value, decltype(replacing)::value>(
        loops, channels, buffers);
  });
  for (int32_t c = 0; c < 2; ++c) loops[c].close(channels[c]);
}

namespace {

// Puts a stage's coefficients into five rows from first on.
void gatherStage(const LoopFilter::Stage& left, const LoopFilter::Stage& right, float (*rows)[4]) {
  const float LoopFilter::Stage::*coefficients[5] = {&LoopFilter::Stage::b0, &LoopFilter::Stage::b1,
                                                     &LoopFilter::Stage::b2, &LoopFilter::Stage::a1,
                                                     &LoopFilter::Stage::a2};
  for (int32_t k = 0; k < 5; ++k) {
    rows[k][0] = left.*coefficients[k];
    rows[k][1] = right.*coefficients[k];
  }
}

}  // namespace

void gatherLaneSettings(const DelayChannel (&channels)[2], LaneSettings& settings) {
  const LoopFilter& left = *channels[0].filter;
  const LoopFilter& right = *channels[1].filter;
  gatherStage(left.lowPassStage(), right.lowPassStage(), &settings.rows[LaneSettings::lowPass]);
  gatherStage(left.highPassStage(), right.highPassStage(), &settings.rows[LaneSettings::highPass]);
  for (int32_t c = 0; c < 2; ++c) {
    settings.rows[LaneSettings::feedback][c] = channels[c].feedback;
    settings.rows[LaneSettings::dry][c] = channels[c].dry;
  }
  settings.rows[LaneSettings::wetFromLeft][0] = channels[0].wetToLeft;
  settings.rows[LaneSettings::wetFromLeft][1] = channels[0].wetToRight;
  settings.rows[LaneSettings::wetFromRight][0] = channels[1].wetToLeft;
  settings.rows[LaneSettings::wetFromRight][1] = channels[1].wetToRight;
}

#if WRENFOLD_TWO_LANES

namespace {

// Lane 0 carries the left channel, lane 1 the right one; lanes 2 and 3 carry zeros.
using Lanes = __m128;

// Returns the two samples at left and right in lanes 0 and 1.
inline Lanes pairAt(const float* left, const float* right) {
  return _mm_unpacklo_ps(_mm_load_ss(left), _mm_load_ss(right));
}

// Returns a stage's history x1, x2, y1, y2 in lanes 0 to 3.
inline Lanes historyOf(const LoopFilter::Stage& stage) {
  float history[4];
  stage.copyHistory(history);
  return _mm_loadu_ps(history);
}

// Stores lanes 0 to 3 as a stage's history x1, x2, y1, y2.
inline void keepHistory(Lanes history, LoopFilter::Stage& stage) {
  float values[4];
  _mm_storeu_ps(values, history);
  stage.takeHistory(values);
}

// Returns lane 1 in every lane.
inline Lanes rightLane(Lanes v) { return _mm_shuffle_ps(v, v, _MM_SHUFFLE(1, 1, 1, 1)); }

// Returns lane 0 in every lane.
inline Lanes leftLane(Lanes v) { return _mm_shuffle_ps(v, v, _MM_SHUFFLE(0, 0, 0, 0)); }

// Returns all ones in the lanes that are zero, denormal, infinite or NaN: isNormal per lane.
inline Lanes abnormalLanes(Lanes v) {
  const __m128i bits = _mm_castps_si128(v);
  // Doubling drops the sign; adding 0x7F000000 moves exponents 1..254 below 0x7E000000 in the
  // signed order, and every other exponent above it.
  const __m128i moved = _mm_add_epi32(_mm_add_epi32(bits, bits), _mm_set1_epi32(0x7F000000));
  return _mm_castsi128_ps(_mm_cmpgt_epi32(moved, _mm_set1_epi32(0x7DFFFFFF)));
}

// Returns all ones in the lanes that are infinite or NaN: overflowed per lane.
inline Lanes overflowedLanes(Lanes v) {
  const __m128i exponent = _mm_set1_epi32(0x7F800000);
  return _mm_castsi128_ps(_mm_cmpeq_epi32(_mm_and_si128(_mm_castps_si128(v), exponent), exponent));
}

// Returns the lanes with their zero, denormal, infinite and NaN values replaced by 0.0.
inline Lanes flushLanes(Lanes v) { return _mm_andnot_ps(abnormalLanes(v), v); }

// The same biquad stage of both channels: history in lanes, coefficients read from the gathered
// settings where they are used, so that they need no registers or copies.
struct LaneStage {
  LaneStage(const float (*coefficients)[4], const LoopFilter::Stage& left,
            const LoopFilter::Stage& right)
      : rows(coefficients) {
    // Both histories side by side: (x1, x1, x2, x2) and (y1, y1, y2, y2), left before right.
    const Lanes leftHistory = historyOf(left);
    const Lanes rightHistory = historyOf(right);
    const Lanes inputs = _mm_unpacklo_ps(leftHistory, rightHistory);
    const Lanes outputs = _mm_unpackhi_ps(leftHistory, rightHistory);
    const Lanes zero = _mm_setzero_ps();
    x1 = _mm_movelh_ps(inputs, zero);
    x2 = _mm_movehl_ps(zero, inputs);
    y1 = _mm_movelh_ps(outputs, zero);
    y2 = _mm_movehl_ps(zero, outputs);
  }

  // Returns b2 x2 + b0 x + b1 x1 - a1 y1 - a2 y2, summed in that order as Stage::run does.
  Lanes respond(Lanes x) const {
    const Lanes feedForward = _mm_add_ps(
        _mm_add_ps(_mm_mul_ps(row(b2), x2), _mm_mul_ps(row(b0), x)), _mm_mul_ps(row(b1), x1));
    return _mm_sub_ps(_mm_sub_ps(feedForward, _mm_mul_ps(row(a1), y1)), _mm_mul_ps(row(a2), y2));
  }
  // Returns one coefficient of both channels.
  Lanes row(int32_t coefficient) const { return _mm_loadu_ps(rows[coefficient]); }
  // Moves the history on by one input and its output.
  void shift(Lanes x, Lanes y) {
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
  }
  // Runs Stage::run in each lane: a zero or denormal result becomes 0.0, and a lane whose result
  // overflowed restarts from silence.
  Lanes runFlushing(Lanes x) {
    const Lanes y = respond(x);
    const Lanes restart = overflowedLanes(y);
    const Lanes kept = flushLanes(y);
    x2 = _mm_andnot_ps(restart, x1);
    x1 = _mm_andnot_ps(restart, x);
    y2 = _mm_andnot_ps(restart, y1);
    y1 = kept;
    return kept;
  }
  // Copies the history of lane 0 and lane 1 back into the two channels' stages.
  void storeHistory(LoopFilter::Stage& left, LoopFilter::Stage& right) const {
    const Lanes inputs = _mm_movelh_ps(x1, x2);
    const Lanes outputs = _mm_movelh_ps(y1, y2);
    keepHistory(_mm_shuffle_ps(inputs, outputs, _MM_SHUFFLE(2, 0, 2, 0)), left);
    keepHistory(_mm_shuffle_ps(inputs, outputs, _MM_SHUFFLE(3, 1, 3, 1)), right);
  }

  // The order of the coefficient rows.
  enum Coefficient { b0, b1, b2, a1, a2 };
  const float (*rows)[4];
  Lanes x1, x2, y1, y2;
};

// Both channels during a two-lane block: cursors, filter stages and gains.
struct LanePair {
  LanePair(const DelayChannel (&channels)[2], const LaneSettings& settings)
      : lineLeft(channels[0].line->openCursor()),
        lineRight(channels[1].line->openCursor()),
        shapeLeft(channels[0].envelope->openCursor()),
        shapeRight(channels[1].envelope->openCursor()),
        lowPass(&settings.rows[LaneSettings::lowPass], channels[0].filter->lowPassStage(),
                channels[1].filter->lowPassStage()),
        highPass(&settings.rows[LaneSettings::highPass], channels[0].filter->highPassStage(),
                 channels[1].filter->highPassStage()),
        gains(settings) {}

  // Hands positions and filter histories back to the channels' units.
  void close(const DelayChannel (&channels)[2]) const {
    channels[0].line->closeCursor(lineLeft);
    channels[1].line->closeCursor(lineRight);
    channels[0].envelope->closeCursor(shapeLeft);
    channels[1].envelope->closeCursor(shapeRight);
    lowPass.storeHistory(channels[0].filter->lowPassStage(), channels[1].filter->lowPassStage());
    highPass.storeHistory(channels[0].filter->highPassStage(), channels[1].filter->highPassStage());
  }

  DelayLine::Cursor lineLeft;
  DelayLine::Cursor lineRight;
  ReverseEnvelope::Cursor shapeLeft;
  ReverseEnvelope::Cursor shapeRight;
  LaneStage lowPass;
  LaneStage highPass;
  const LaneSettings& gains;

  // Returns one gain row of both channels.
  Lanes gain(LaneSettings::Row row) const { return _mm_loadu_ps(gains.rows[row]); }
};

// Returns how many frames can run, at most limit, before any position of the pair wraps, a line's
// reads turn from silence to its contents or back, or an envelope's ramp starts or ends.
template <bool isReversed>
inline int32_t stepsOfOneKind(const LanePair& pair, int32_t limit) {
  int32_t steps = limit;
  for (const DelayLine::Cursor* line : {&pair.lineLeft, &pair.lineRight}) {
    steps = std::min(steps, line->stepsBeforeWrap(isReversed));
    steps = std::min(steps, line->stepsBeforeReadsChange(isReversed));
  }
  if (isReversed) {
    for (const ReverseEnvelope::Cursor* shape : {&pair.shapeLeft, &pair.shapeRight}) {
      const int32_t position = shape->position();
      steps = std::min(steps, shape->tableShape().nextBoundary(position) - position);
    }
  }
  return steps;
}

// Returns whether a ramp of either envelope covers the read positions.
inline bool rampsCover(const LanePair& pair) {
  return pair.shapeLeft.tableShape().ramps(pair.shapeLeft.position()) ||
         pair.shapeRight.tableShape().ramps(pair.shapeRight.position());
}

// Where a line reads from during a run: its storage, or one silent sample read over and over
// where nothing has been written since its restart or clear.
struct LaneReads {
  const float* sample;
  int32_t step;
};

inline LaneReads readsOf(const DelayLine::Cursor& line, int32_t readStep) {
  static const float silence = 0.0f;
  if (line.readsWritten()) return {line.readPointer(), readStep};
  return {&silence, 0};
}

// Both envelopes' gains over a run in which no ramp starts or ends, as lanes: attack left, attack
// right, release left, release right. A ramp's factor is step / steps with the step moving by one
// a frame; a ramp that does not cover the run divides 1 by 1. Each gain is the product of its
// channel's attack and release factor, exactly as a built table entry is.
struct LaneRamps {
  // Gains of 1.0 throughout, for a run outside reverse mode.
  LaneRamps() : numerators(_mm_set1_ps(1.0f)), divisors(numerators), steps(_mm_setzero_ps()) {}
  LaneRamps(const ReverseEnvelope::Cursor& left, const ReverseEnvelope::Cursor& right) {
    float numerator[4], divisor[4], step[4];
    const ReverseEnvelope::Cursor* shapes[2] = {&left, &right};
    for (int32_t c = 0; c < 2; ++c) {
      const ReverseEnvelope::Shape& shape = shapes[c]->tableShape();
      const int32_t position = shapes[c]->position();
      const int32_t rising = shape.fromHalfStart(position);
      const int32_t falling = shape.toHalfEnd(position);
      const bool attacks = rising < shape.attackCount;
      const bool releases = falling < shape.releaseCount;
      numerator[c] = attacks ? static_cast<float>(rising) : 1.0f;
      divisor[c] = attacks ? static_cast<float>(shape.attack) : 1.0f;
      step[c] = attacks ? 1.0f : 0.0f;
      numerator[c + 2] = releases ? static_cast<float>(falling) : 1.0f;
      divisor[c + 2] = releases ? static_cast<float>(shape.release) : 1.0f;
      step[c + 2] = releases ? -1.0f : 0.0f;
    }
    numerators = _mm_loadu_ps(numerator);
    divisors = _mm_loadu_ps(divisor);
    steps = _mm_loadu_ps(step);
  }
  // Returns both channels' gains in lanes 0 and 1 and moves on by one frame.
  Lanes nextGains() {
    const Lanes factors = _mm_div_ps(numerators, divisors);
    numerators = _mm_add_ps(numerators, steps);
    return _mm_mul_ps(factors, _mm_movehl_ps(factors, factors));
  }

  Lanes numerators, divisors, steps;
};

// Runs frames first .. first + steps - 1, during which everything stepsOfOneKind watches stays
// as it is. isShaped: a ramp of an envelope covers the run; elsewhere reverse mode's gains are 1.0.
template <bool isReversed, bool isShaped, bool isBypassed, bool isReplacing>
inline void laneRun(LanePair& pair, const FrameBuffers& buffers, int32_t first, int32_t steps) {
  constexpr int32_t readStep = isReversed ? -1 : 1;
  LaneReads readLeft = readsOf(pair.lineLeft, readStep);
  LaneReads readRight = readsOf(pair.lineRight, readStep);
  float* writeLeft = pair.lineLeft.writePointer();
  float* writeRight = pair.lineRight.writePointer();
  LaneRamps ramps = isShaped ? LaneRamps(pair.shapeLeft, pair.shapeRight) : LaneRamps{};
  const Lanes lowestSample = _mm_set1_ps(-loopBound);
  const Lanes highestSample = _mm_set1_ps(loopBound);
  const Lanes floor = _mm_set1_ps(loopFloor);
  const Lanes magnitude = _mm_castsi128_ps(_mm_set1_epi32(0x7FFFFFFF));
  LaneStage& lowPass = pair.lowPass;
  LaneStage& highPass = pair.highPass;

  for (int32_t i = first; i < first + steps; ++i) {
    const Lanes in = pairAt(buffers.inLeft + i, buffers.inRight + i);
    const Lanes feedback = pair.gain(LaneSettings::feedback);

    // 1. Read both delays.
    Lanes delayed = pairAt(readLeft.sample, readRight.sample);
    readLeft.sample += readLeft.step;
    readRight.sample += readRight.step;

    // 2., 3. Input plus feedback through both stages. Processing runs with flush-to-zero and
    //    denormals-are-zero, so no sum or product is subnormal and zeros need no flush on the
    //    way. A non-finite result (a stage overflowing, or a non-finite input sample, which
    //    makes every result after it non-finite) takes the frame again: the input counts as
    //    silence, in the loop and on the dry path, and an overflowing stage restarts from it.
    Lanes sum = _mm_add_ps(_mm_mul_ps(delayed, feedback), in);
    Lanes lowOut = lowPass.respond(sum);
    Lanes filtered = highPass.respond(lowOut);
    Lanes dryIn = in;
    const Lanes overflow = _mm_or_ps(overflowedLanes(lowOut), overflowedLanes(filtered));
    if ((_mm_movemask_ps(overflow) & 3) == 0) {
      lowPass.shift(sum, lowOut);
      highPass.shift(lowOut, filtered);
    } else {
      dryIn = _mm_andnot_ps(overflowedLanes(in), in);
      sum = _mm_add_ps(_mm_mul_ps(delayed, feedback), dryIn);
      lowOut = lowPass.runFlushing(sum);
      filtered = highPass.runFlushing(lowOut);
    }
    // Below the floor (zeros of either sign included) the line takes +0.0.
    filtered = _mm_andnot_ps(_mm_cmplt_ps(_mm_and_ps(filtered, magnitude), floor), filtered);
    filtered = _mm_min_ps(_mm_max_ps(filtered, lowestSample), highestSample);

    // 4. Write into both delays.
    _mm_store_ss(writeLeft++, filtered);
    _mm_store_ss(writeRight++, rightLane(filtered));

    // 5. In reverse mode the envelopes shape what is heard.
    if (isShaped) delayed = _mm_mul_ps(delayed, ramps.nextGains());

    // 6. Mix, lane 0 into the left and lane 1 into the right output, or the plain input.
    Lanes out = in;
    if (!isBypassed) {
      const Lanes fromRight = _mm_mul_ps(pair.gain(LaneSettings::wetFromRight), rightLane(delayed));
      const Lanes fromLeft = _mm_mul_ps(pair.gain(LaneSettings::wetFromLeft), leftLane(delayed));
      const Lanes dry = _mm_mul_ps(pair.gain(LaneSettings::dry), dryIn);
      out = _mm_add_ps(_mm_add_ps(fromRight, fromLeft), dry);
    }

    // 7. Overwrite or accumulate, left before right as in the scalar loop.
    float* left = buffers.outLeft + i;
    float* right = buffers.outRight + i;
    if (isReplacing) {
      _mm_store_ss(left, out);
      _mm_store_ss(right, rightLane(out));
    } else {
      _mm_store_ss(left, _mm_add_ss(_mm_load_ss(left), out));
      _mm_store_ss(right, _mm_add_ss(_mm_load_ss(right), rightLane(out)));
    }
  }
}

template <bool isReversed, bool isBypassed, bool isReplacing>
void laneFrames(const DelayChannel (&channels)[2], const LaneSettings& settings,
                const FrameBuffers& buffers) {
  LanePair pair(channels, settings);
  for (int32_t first = 0; first < buffers.frames;) {
    const int32_t steps = stepsOfOneKind<isReversed>(pair, buffers.frames - first);
    if (isReversed && rampsCover(pair))
      laneRun<isReversed, true, isBypassed, isReplacing>(pair, buffers, first, steps);
    else
      laneRun<isReversed, false, isBypassed, isReplacing>(pair, buffers, first, steps);
    pair.lineLeft.advance(steps, isReversed);
    pair.lineRight.advance(steps, isReversed);
    if (isReversed) {
      pair.shapeLeft.advance(steps);
      pair.shapeRight.advance(steps);
    }
    first += steps;
  }
  pair.close(channels);
}

}  // namespace

void runTwoLaneFrames(DelayChannel (&channels)[2], const LaneSettings& settings,
                      const FrameBuffers& buffers, const FrameModes& modes) {
  withModes(modes, [&](auto reversed, auto bypassed, auto replacing) {
    laneFrames<decltype(reversed)::value, decltype(bypassed)::value, decltype(replacing)::value>(
        channels, settings, buffers);
  });
}

#else

void runTwoLaneFrames(DelayChannel (&channels)[2], const LaneSettings&, const FrameBuffers& buffers,
                      const FrameModes& modes) {
  runScalarFrames(channels, buffers, modes);
}

#endif

}  // namespace wrenfold
