#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "tools/assetgen/generator.h"
#include "tools/assetgen/output_file.h"
#include "tools/assetgen/synth.h"

// Sixteen short hits for house music, all in A minor where they have a
// pitch, so that any of them mixed at random onto the loop's 16-step grid
// fits with the others. Each voice is drawn with three free controls (how
// soon it peaks, how long it rings, how bright it is); the generator tunes
// them until the sound has the shape the show's table asks for, then scales
// the positive and negative halves to the exact extremes.
namespace {

struct Controls {
  double attack;  // seconds to the peak
  double decay;   // time constant of the fall, seconds
  double bright;  // voice-specific brightness, about 1 = as designed
};

using Voice = std::function<std::vector<double>(const Controls&)>;

struct Instrument {
  const char* name;
  SoundShape target;  // lowest, highest, peak index, tenth index, sign changes
  Controls start;
  Voice voice;
  // How the attack is made to stand out where the voice alone would leave
  // the loudest value to chance.
  enum class Accent { none, transient, swell };
  Accent accent = Accent::none;
};

double seconds(int i) { return i / sample_rate; }

// Renders a voice sample by sample from a function of the time.
std::vector<double> render(const std::function<double(double)>& at_time) {
  std::vector<double> out(sound_length);
  for (int i = 0; i < sound_length; ++i) out[i] = at_time(seconds(i));
  return out;
}

// Kick: a sine falling from a high click to a low thump, its body swelling
// to the peak, with a touch of saturation.
std::vector<double> kick(const Controls& c) {
  Oscillator osc;
  return render([&, c](double t) {
    double pitch = 55 * c.bright * (1 + 3.0 * std::exp(-t / 0.012));
    double body = osc.sine(pitch) * hit_envelope(t, c.attack, c.decay);
    return std::tanh(1.6 * body);
  });
}

// Snare: a short pitched body under a burst of band-passed noise.
std::vector<double> snare(const Controls& c) {
  Oscillator osc;
  Noise noise(0x5A4E);
  BandPass band;
  return render([&, c](double t) {
    double env = hit_envelope(t, c.attack, c.decay);
    double tone = osc.sine(185 * (1 + 0.5 * std::exp(-t / 0.01))) * std::exp(-t / 0.03);
    double hiss = band.run(noise.next(), 3400 * c.bright, 0.7) * 2.2;
    return (0.55 * tone + hiss) * env;
  });
}

// Clap: three quick slaps of noise, then the main one that rings out.
std::vector<double> clap(const Controls& c) {
  Noise noise(0xC1A9);
  BandPass band;
  return render([&, c](double t) {
    double slaps = 0;
    for (int k = 0; k < 3; ++k) {
      double start = c.attack * k / 3.5;
      if (t >= start) slaps = std::max(slaps, 0.7 * std::exp(-(t - start) / 0.004));
    }
    double env = std::max(slaps, hit_envelope(t, c.attack, c.decay) * (t >= c.attack * 0.86));
    return band.run(noise.next(), 1500 * c.bright, 1.4) * env;
  });
}

// Metallic hats and shakers: six detuned square partials and noise through a
// band-pass whose centre sets the brightness.
std::vector<double> metal(const Controls& c, double centre_hz, double noise_part, uint32_t seed) {
  static const double ratios[6] = {1.0, 1.342, 1.2312, 1.6532, 1.9523, 2.1523};
  double phases[6] = {};
  Noise noise(seed);
  BandPass band;
  OnePole high;
  return render([&, c](double t) {
    double metal_sum = 0;
    for (int k = 0; k < 6; ++k) {
      phases[k] += 310 * ratios[k] / sample_rate;
      phases[k] -= std::floor(phases[k]);
      metal_sum += phases[k] < 0.5 ? 1 : -1;
    }
    double raw = metal_sum / 6 * (1 - noise_part) + noise.next() * noise_part;
    double centre = centre_hz * c.bright;
    double shaped = high.high(band.run(raw, centre, 0.9), centre * 0.5);
    return shaped * hit_envelope(t, c.attack, c.decay);
  });
}

// Cowbell: two square tones a fifth-ish apart, band-limited.
std::vector<double> cowbell(const Controls& c) {
  Oscillator low, high;
  BandPass band;
  return render([&, c](double t) {
    double tone = low.square(587.3 * c.bright, 4000) + high.square(880 * c.bright, 4000);
    return band.run(tone, 1400 * c.bright, 1.2) * 2 * hit_envelope(t, c.attack, c.decay);
  });
}

// Plucked string: a saw whose brightness closes as it rings, and if asked a
// sine a fifth above that rings out sooner (brightness sets how soon). The
// fifth beats with the root every second period, so a voice that must peak
// at a given crest goes without it.
std::vector<double> pluck(double hz, double shimmer_level, const Controls& c) {
  Oscillator osc, fifth;
  return render([&, c](double t) {
    double ring = std::max(0.0, t - c.attack);
    double cutoff = hz * (1 + 4 * std::exp(-ring / 0.05));
    double shimmer = fifth.sine(hz * 1.4983) * shimmer_level * std::exp(-ring / (0.03 * c.bright));
    return (osc.saw(hz, cutoff) + shimmer) * hit_envelope(t, c.attack, c.decay);
  });
}

// Chord stab: A minor as a stack of bright organ-like square tones.
std::vector<double> stab(const std::vector<double>& chord_hz, const Controls& c) {
  std::vector<Oscillator> voices(chord_hz.size());
  return render([&, c](double t) {
    double sum = 0;
    for (size_t k = 0; k < chord_hz.size(); ++k) {
      sum += voices[k].square(chord_hz[k], chord_hz[k] * 2.5 * c.bright);
    }
    return sum / chord_hz.size() * hit_envelope(t, c.attack, c.decay);
  });
}

// Bell: a sine with an inharmonic partial that fades first.
std::vector<double> bell(double hz, const Controls& c) {
  Oscillator root, over;
  return render([&, c](double t) {
    double ring = std::max(0.0, t - c.attack);
    double partial = over.sine(hz * 2.76) * 0.6 * c.bright * std::exp(-ring / 0.05);
    return (root.sine(hz) + partial) * hit_envelope(t, c.attack, c.decay);
  });
}

// Bass: a round low note with a little growl of overtones.
std::vector<double> bass(double hz, const Controls& c) {
  Oscillator osc;
  return render([&, c](double t) {
    double tone = osc.saw(hz, hz * 1.2 * c.bright);
    return std::tanh(1.4 * tone) * hit_envelope(t, c.attack, c.decay);
  });
}

// Tom: a sine that drops in pitch, with a soft skin noise at the start.
std::vector<double> tom(double hz, const Controls& c, uint32_t seed) {
  Oscillator osc, overtone;
  Noise noise(seed);
  OnePole low;
  return render([&, c](double t) {
    double pitch = hz * c.bright * (1 + 0.6 * std::exp(-t / 0.04));
    double skin = low.low(noise.next(), 2500) * std::exp(-t / 0.008);
    double body = osc.sine(pitch) + 0.3 * overtone.sine(pitch * 1.58);
    return std::tanh(1.3 * (body + skin)) * hit_envelope(t, c.attack, c.decay);
  });
}

// Rim shot: a hard click and a short wooden ring.
std::vector<double> rim(const Controls& c) {
  Oscillator ring, wood;
  return render([&, c](double t) {
    double tone = ring.sine(1700 * c.bright) * 0.7 + wood.sine(470 * c.bright) * 0.5;
    return tone * hit_envelope(t, c.attack, c.decay);
  });
}

std::vector<Instrument> instruments() {
  const double a4 = 440, c5 = 523.25, e5 = 659.26;
  // clang-format off
  return {
      {"snare", {-9885, 10054, 436, 5681, 1710}, {0.010, 0.025, 1.0}, snare},
      {"cowbell", {-7474, 7890, 232, 7855, 714}, {0.005, 0.05, 1.0}, cowbell},
      {"shaker", {-4220, 4326, 2761, 9416, 2025}, {0.063, 0.05, 1.0},
       [](const Controls& c) { return metal(c, 4200, 0.8, 0x5A7E); }, Instrument::Accent::transient},
      {"kick", {-18978, 21739, 1560, 6969, 74}, {0.035, 0.04, 1.0}, kick},
      {"clap", {-18267, 18209, 2007, 5010, 1398}, {0.045, 0.02, 1.0}, clap},
      {"pluck A5", {-14416, 13797, 432, 7345, 586}, {0.010, 0.05, 1.0},
       [](const Controls& c) { return pluck(880, 1.6, c); }},
      {"A minor stab", {-17164, 16405, 610, 6254, 570}, {0.014, 0.04, 1.0},
       [=](const Controls& c) { return stab({a4, c5, e5, 2 * a4}, c); }},
      {"open hat", {-6277, 5448, 406, 10831, 2330}, {0.009, 0.08, 1.0},
       [](const Controls& c) { return metal(c, 6000, 0.4, 0x0FE7); }, Instrument::Accent::transient},
      {"high tom", {-19028, 11324, 695, 4841, 444}, {0.016, 0.03, 1.0},
       [](const Controls& c) { return tom(330, c, 0x7031); }},
      {"rim shot", {-12116, 14426, 50, 4577, 685}, {0.001, 0.03, 1.0}, rim},
      {"bass G3", {-11053, 13976, 544, 11001, 96}, {0.012, 0.3, 1.0},
       [](const Controls& c) { return bass(196.0, c); }},
      {"pluck G4", {-10499, 13345, 346, 5160, 199}, {0.008, 0.04, 1.0},
       [](const Controls& c) { return pluck(392, 0.0, c); }, Instrument::Accent::swell},
      {"bell A5", {-6070, 7198, 596, 10354, 505}, {0.013, 0.1, 1.0},
       [](const Controls& c) { return bell(880, c); }, Instrument::Accent::swell},
      {"closed hat", {-5743, 5444, 187, 4698, 1394}, {0.004, 0.02, 1.0},
       [](const Controls& c) { return metal(c, 8000, 0.5, 0xC1A7); }, Instrument::Accent::transient},
      {"low tom", {-17616, 13152, 574, 6636, 315}, {0.013, 0.04, 1.0},
       [](const Controls& c) { return tom(196, c, 0x1077); }},
      {"short stab", {-14997, 12150, 235, 4866, 703}, {0.005, 0.03, 1.0},
       [=](const Controls& c) { return stab({2 * a4, 2 * c5, 2 * e5}, c); }},
  };
  // clang-format on
}

// Fades the last few milliseconds so a hit never ends in a click.
void fade_tail(std::vector<double>& sound) {
  const int fade = 256;
  for (int i = 0; i < fade; ++i) sound[sound_length - 1 - i] *= static_cast<double>(i) / fade;
}

// Scales the positive and the negative half separately so that the highest
// and lowest values land exactly on the target.
std::vector<int32_t> to_values(const std::vector<double>& sound, const SoundShape& target) {
  double highest = 0, lowest = 0;
  for (double v : sound) {
    highest = std::max(highest, v);
    lowest = std::min(lowest, v);
  }
  std::vector<int32_t> values(sound.size());
  for (size_t i = 0; i < sound.size(); ++i) {
    double v = sound[i];
    double scaled = v >= 0 ? v / highest * target.highest : v / lowest * target.lowest;
    values[i] = static_cast<int32_t>(std::lround(scaled));
  }
  return values;
}

// Noise peaks wherever the dice fall; a transient at the attack, a little
// above everything else, gives the hit a defined front.
// A pitched voice instead swells by a quarter for about a millisecond round
// its attack, which lifts the nearest crest above the others.
void swell_attack(std::vector<double>& sound, const Controls& c) {
  double at = c.attack * sample_rate;
  for (int i = 0; i < sound_length; ++i) {
    double x = (i - at) / 30.0;
    sound[i] *= 1 + 0.25 * std::exp(-x * x);
  }
}

void sharpen_attack(std::vector<double>& sound, const Controls& c, bool negative) {
  double top = 0;
  for (double v : sound) top = std::max(top, negative ? -v : v);
  int at = std::clamp(static_cast<int>(c.attack * sample_rate), 1, sound_length - 2);
  double sign = negative ? -1 : 1;
  sound[at - 1] = sign * top * 0.7;
  sound[at] = sign * top * 1.05;
  sound[at + 1] = sign * top * 0.6;
}

std::vector<int32_t> synthesise(const Instrument& instrument, const Controls& c) {
  std::vector<double> sound = instrument.voice(c);
  if (instrument.accent == Instrument::Accent::swell) swell_attack(sound, c);
  if (instrument.accent == Instrument::Accent::transient) {
    sharpen_attack(sound, c, -instrument.target.lowest > instrument.target.highest);
  }
  fade_tail(sound);
  return to_values(sound, instrument.target);
}

double miss(int32_t got, int32_t want) {
  return std::abs(got - want) / static_cast<double>(std::max(want, 1));
}

// Bisects one control (assumed to raise the measure as it grows) towards
// the target of that measure, keeping the best value seen.
void tune(const Instrument& instrument, Controls& c, double Controls::*control,
          int32_t SoundShape::*measure_of, double low, double high) {
  double best = c.*control;
  double best_miss = 1e9;
  for (int step = 0; step < 22; ++step) {
    double middle = std::sqrt(low * high);
    c.*control = middle;
    int32_t got = measure(synthesise(instrument, c)).*measure_of;
    int32_t want = instrument.target.*measure_of;
    if (miss(got, want) < best_miss) {
      best_miss = miss(got, want);
      best = middle;
    }
    (got < want ? low : high) = middle;
  }
  c.*control = best;
}

// Tries attack times on a grid and keeps the one whose peak lands nearest.
void place_peak(const Instrument& instrument, Controls& c) {
  double best = c.attack;
  int32_t best_miss = 1 << 30;
  for (int step = 0; step <= 80; ++step) {
    c.attack = 0.0003 * std::pow(0.075 / 0.0003, step / 80.0);
    int32_t got = measure(synthesise(instrument, c)).peak_index;
    if (std::abs(got - instrument.target.peak_index) < best_miss) {
      best_miss = std::abs(got - instrument.target.peak_index);
      best = c.attack;
    }
  }
  c.attack = best;
}

bool within(const SoundShape& got, const SoundShape& want) {
  auto near = [](int32_t g, int32_t w, double share, int32_t floor) {
    return std::abs(g - w) <= std::max(w * share, static_cast<double>(floor));
  };
  return got.lowest == want.lowest && got.highest == want.highest &&
         near(got.peak_index, want.peak_index, 0.10, 50) &&
         near(got.tenth_index, want.tenth_index, 0.05, 0) &&
         near(got.sign_changes, want.sign_changes, 0.10, 0);
}

std::vector<int32_t> fit(const Instrument& instrument) {
  Controls c = instrument.start;
  for (int round = 0; round < 3; ++round) {
    place_peak(instrument, c);
    tune(instrument, c, &Controls::bright, &SoundShape::sign_changes, 0.05, 5.0);
    tune(instrument, c, &Controls::decay, &SoundShape::tenth_index, 0.002, 3.0);
  }
  std::vector<int32_t> values = synthesise(instrument, c);
  SoundShape got = measure(values);
  std::fprintf(stderr,
               "%-14s attack %.4f decay %.4f bright %.3f: low %d high %d peak %d tenth %d "
               "changes %d\n",
               instrument.name, c.attack, c.decay, c.bright, got.lowest, got.highest,
               got.peak_index, got.tenth_index, got.sign_changes);
  if (!within(got, instrument.target)) {
    std::fprintf(stderr, "assetgen: %s misses its shape\n", instrument.name);
    values.clear();
  }
  return values;
}

}  // namespace

void make_instruments(const std::string& folder) {
  std::string bytes;
  bool all_fit = true;
  for (const Instrument& instrument : instruments()) {
    std::vector<int32_t> values = fit(instrument);
    all_fit = all_fit && !values.empty();
    for (int32_t v : values) {
      auto word = static_cast<uint16_t>(static_cast<int16_t>(v));
      bytes.push_back(static_cast<char>(word & 0xFF));
      bytes.push_back(static_cast<char>(word >> 8));
    }
  }
  if (!all_fit) std::exit(1);
  write_file(folder + "/instruments.raw", bytes);
}
