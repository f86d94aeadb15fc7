// Makes the program's two sounds as headerless 16-bit mono PCM at 44100 Hz:
//   ambient.pcm (resource 116): one second of calm sea and wind that loops without a seam,
//       every partial a whole number of hertz, so the second is exactly one period; it keeps
//       one level all through and is dense (about -6.6 dBFS RMS), so the program's swells alone
//       make it rise and fall and it is heard 40 dB down;
//   wings.pcm (resource 117): a soft wing buzz of about 140 Hz with a flutter, 52756 samples,
//       fading in and out to silence, its level set against the sea's.
// The sea peaks at -1 dBFS, the wings at -6; the program plays them 40 and 6 dB down.
// Deterministic: the same output on every run. Usage: make_sounds OUTPUT_FOLDER
#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;

// A small linear congruential generator: the same "random" phases on every machine.
struct Random {
  uint64_t state;
  double Next() {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<double>(state >> 11) / 9007199254740992.0;
  }
};

// Adds a partial of `hertz` (whole) with amplitude `amplitude` and phase `phase` to `out`,
// turning a unit phasor sample by sample.
void AddPartial(std::vector<double>& out, int hertz, double amplitude, double phase) {
  const std::complex<double> turn = std::polar(1.0, 2 * kPi * hertz / kRate);
  std::complex<double> phasor = std::polar(amplitude, phase);
  for (size_t i = 0; i < out.size(); ++i) {
    out[i] += phasor.imag();
    phasor *= turn;
    if (i % 4096 == 4095) phasor *= amplitude / std::abs(phasor);  // keep the length exact
  }
}

// Noise made of whole-hertz partials whose loudness follows `shape(hertz)`.
template <typename Shape>
std::vector<double> ShapedNoise(int lowest, int highest, Shape shape, Random& random) {
  std::vector<double> out(kRate, 0.0);
  for (int hertz = lowest; hertz <= highest; ++hertz) {
    AddPartial(out, hertz, shape(hertz), 2 * kPi * random.Next());
  }
  return out;
}

void Normalise(std::vector<double>& samples, double peak) {
  double largest = 0;
  for (double s : samples) largest = std::max(largest, std::abs(s));
  for (double& s : samples) s *= peak / largest;
}

bool WritePcm(const std::string& path, const std::vector<double>& samples) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  for (double s : samples) {
    const long value = std::lround(std::clamp(s, -1.0, 1.0) * 32767.0);
    const unsigned char bytes[2] = {static_cast<unsigned char>(value & 0xFF),
                                    static_cast<unsigned char>((value >> 8) & 0xFF)};
    std::fwrite(bytes, 1, 2, file);
  }
  return std::fclose(file) == 0;
}

// The RMS of `samples` in a window of `width` samples centred on each sample, around the
// loop (the sound repeats, so the window wraps).
std::vector<double> LoopRms(const std::vector<double>& samples, int width) {
  const int n = static_cast<int>(samples.size());
  std::vector<double> rms(samples.size());
  double sum = 0;
  for (int k = -width / 2; k < width - width / 2; ++k) {
    const double s = samples[(k + n) % n];
    sum += s * s;
  }
  for (int i = 0; i < n; ++i) {
    rms[i] = std::sqrt(sum / width);
    const double leaving = samples[(i - width / 2 + n) % n];
    const double entering = samples[(i + width - width / 2) % n];
    sum += entering * entering - leaving * leaving;
  }
  return rms;
}

// The sea: a pink hush, rounded off above a couple of kilohertz, with under it the wind, a
// low, narrow band. It keeps one level all through the loop (the program's swells are what
// make it rise and fall), and it is dense, as a recording of surf is: a soft limiter folds
// its peaks in, so that it is heard at -40 dB. Every partial is a whole number of hertz, and
// the level and the limiter are the same at both ends, so the second loops without a seam.
std::vector<double> Ambient() {
  Random random{20261206};
  auto surf = [](int hertz) {
    const double f = hertz;
    return (1 / std::sqrt(f)) * (f / (f + 90)) / (1 + std::pow(f / 1800, 2));
  };
  auto wind = [](int hertz) {
    const double f = hertz, d = (f - 420) / 160;
    return 0.06 * std::exp(-d * d) / std::sqrt(f);
  };
  std::vector<double> out = ShapedNoise(30, 14000, surf, random);
  const std::vector<double> air = ShapedNoise(150, 900, wind, random);
  for (int i = 0; i < kRate; ++i) out[i] += air[i];
  // One level: divide by the loudness over a fifth of a second, itself smoothed around the
  // loop, so the hush neither surges nor pumps.
  std::vector<double> level = LoopRms(out, kRate / 5);
  level = LoopRms(level, kRate / 10);
  for (int i = 0; i < kRate; ++i) out[i] /= level[i];
  // Dense: a soft limiter over noise of unit loudness.
  for (double& s : out) s = std::tanh(0.7 * s);
  Normalise(out, std::pow(10.0, -1.0 / 20));
  return out;
}

// Two wings a hundred and forty times a second: a soft, rounded saw whose pitch wavers, with
// a flutter in its loudness and a breath of air, faded in and out to silence.
std::vector<double> Wings() {
  constexpr int kSamples = 52756;
  Random random{117};
  std::vector<double> out(kSamples);
  double phase = 0, air = 0, slowAir = 0;
  for (int i = 0; i < kSamples; ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double hertz = 140 * (1 + 0.035 * std::sin(2 * kPi * 6.5 * t) + 0.02 * t);
    phase += 2 * kPi * hertz / kRate;
    double tone = 0;
    for (int n = 1; n <= 12; ++n) tone += std::sin(n * phase) / std::pow(n, 1.8);
    // Air: white noise in a band of about 80 Hz to 1.5 kHz, with no standing offset.
    air = 0.9 * air + 0.1 * (random.Next() * 2 - 1);
    slowAir = 0.995 * slowAir + 0.005 * air;
    const double flutter = 0.7 + 0.3 * std::pow(std::sin(kPi * 23 * t), 2);
    const double rise = std::min(1.0, t / 0.18);
    const double fall = std::min(1.0, (kSamples - 1 - i) / (0.5 * kRate));
    const double envelope =
        std::pow(std::sin(0.5 * kPi * rise), 2) * std::pow(std::sin(0.5 * kPi * fall), 2);
    out[i] = (tone * flutter + 0.8 * (air - slowAir)) * envelope;
  }
  // Set against the sea: 40 dB down it rests at about -51 dBFS a channel and swells to about
  // -35; 6 dB down and from a few units away, the buzz comes in at most 10 dB above that.
  Normalise(out, std::pow(10.0, -6.0 / 20));
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_sounds OUTPUT_FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  if (!WritePcm(folder + "/ambient.pcm", Ambient()) || !WritePcm(folder + "/wings.pcm", Wings())) {
    std::fprintf(stderr, "make_sounds: cannot write into %s\n", folder.c_str());
    return 1;
  }
  return 0;
}
