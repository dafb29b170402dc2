#pragma once

#include <cstdint>
#include <vector>

// Small building blocks for the instrument synthesis. Everything is plain
// double arithmetic and our own noise source, so a sound comes out the same
// on every run.
constexpr double sample_rate = 44100.0;
constexpr int sound_length = 11025;  // 0.25 s

// White noise in -1..1 from a fixed seed (xorshift32).
class Noise {
 public:
  explicit Noise(uint32_t seed) : state_(seed ? seed : 1) {}
  double next();

 private:
  uint32_t state_;
};

// Resonant band-pass (constant peak gain), re-tunable per sample.
class BandPass {
 public:
  double run(double in, double centre_hz, double q);

 private:
  double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// One-pole low-pass and high-pass.
class OnePole {
 public:
  double low(double in, double cutoff_hz);
  double high(double in, double cutoff_hz);

 private:
  double state_ = 0;
};

// A sine oscillator whose frequency may change every sample.
class Oscillator {
 public:
  double sine(double hz);
  // A band-limited sawtooth-like tone: the first partials up to a cutoff
  // with a soft roll-off (brightness), built additively.
  double saw(double hz, double cutoff_hz);
  // A square-like tone (odd partials only), band-limited the same way.
  double square(double hz, double cutoff_hz);

 private:
  double phase_ = 0;  // in turns
  double advance(double hz);
};

// Rises smoothly to 1 at attack seconds, then falls exponentially with the
// given time constant.
double hit_envelope(double t, double attack, double decay);

// Values of the instrument, as measured by the show's tests.
struct SoundShape {
  int32_t lowest = 0;
  int32_t highest = 0;
  int32_t peak_index = 0;    // first value of the largest magnitude
  int32_t tenth_index = 0;   // last value at least a tenth of that magnitude
  int32_t sign_changes = 0;  // between non-zero values, zeros skipped
};
SoundShape measure(const std::vector<int32_t>& values);
