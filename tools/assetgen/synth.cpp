#include "tools/assetgen/synth.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace {
constexpr double two_pi = 2 * std::numbers::pi;
}

double Noise::next() {
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return state_ / 2147483648.0 - 1.0;
}

double BandPass::run(double in, double centre_hz, double q) {
  double w = two_pi * std::min(centre_hz, sample_rate * 0.45) / sample_rate;
  double alpha = std::sin(w) / (2 * q);
  double a0 = 1 + alpha;
  double b0 = alpha / a0, b2 = -alpha / a0;
  double a1 = -2 * std::cos(w) / a0, a2 = (1 - alpha) / a0;
  double out = b0 * in + b2 * x2_ - a1 * y1_ - a2 * y2_;
  x2_ = x1_;
  x1_ = in;
  y2_ = y1_;
  y1_ = out;
  return out;
}

double OnePole::low(double in, double cutoff_hz) {
  double k = 1 - std::exp(-two_pi * cutoff_hz / sample_rate);
  state_ += k * (in - state_);
  return state_;
}

double OnePole::high(double in, double cutoff_hz) { return in - low(in, cutoff_hz); }

double Oscillator::advance(double hz) {
  double now = phase_;
  phase_ += hz / sample_rate;
  phase_ -= std::floor(phase_);
  return now;
}

double Oscillator::sine(double hz) { return std::sin(two_pi * advance(hz)); }

namespace {

double partial_sum(double phase, double hz, double cutoff_hz, int step) {
  double sum = 0;
  for (int k = 1; k * hz < sample_rate * 0.45 && k <= 40; k += step) {
    double roll = 1 / (1 + std::pow(k * hz / cutoff_hz, 2));
    sum += std::sin(two_pi * phase * k) * roll / k;
  }
  return sum;
}

}  // namespace

double Oscillator::saw(double hz, double cutoff_hz) {
  return partial_sum(advance(hz), hz, cutoff_hz, 1);
}

double Oscillator::square(double hz, double cutoff_hz) {
  return partial_sum(advance(hz), hz, cutoff_hz, 2);
}

double hit_envelope(double t, double attack, double decay) {
  if (t < attack) {
    double x = t / attack;
    return x * x * (3 - 2 * x);
  }
  return std::exp(-(t - attack) / decay);
}

SoundShape measure(const std::vector<int32_t>& values) {
  SoundShape shape;
  int32_t largest = -1;
  int32_t previous_sign = 0;
  for (size_t i = 0; i < values.size(); ++i) {
    int32_t v = values[i];
    shape.lowest = std::min(shape.lowest, v);
    shape.highest = std::max(shape.highest, v);
    if (std::abs(v) > largest) {
      largest = std::abs(v);
      shape.peak_index = static_cast<int32_t>(i);
    }
    if (v != 0) {
      int32_t sign = v > 0 ? 1 : -1;
      if (previous_sign != 0 && sign != previous_sign) ++shape.sign_changes;
      previous_sign = sign;
    }
  }
  for (size_t i = 0; i < values.size(); ++i) {
    if (std::abs(values[i]) * 10 >= largest) shape.tenth_index = static_cast<int32_t>(i);
  }
  return shape;
}
