#include "Sounds.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include <sndfile.h>

#include "base/Random.h"
#include "base/MathConstants.h"

namespace assetgen {

namespace {

constexpr double kTwoPi = 2.0 * kPi;

size_t sampleCount(double seconds) {
    return static_cast<size_t>(std::lround(seconds * kSoundRate));
}

double timeOf(size_t i) {
    return static_cast<double>(i) / kSoundRate;
}

// Rises linearly over 'attack' seconds, then falls by a factor e every 'decay' seconds.
double strike(double t, double attack, double decay) {
    return t < attack ? t / attack : std::exp(-(t - attack) / decay);
}

// Raised-cosine fades over the first 'in' and the last 'out' seconds of 'length', so a sound
// starts and ends at zero without a click.
double fade(double t, double length, double in, double out) {
    double gain = 1.0;
    if (in > 0.0 && t < in) {
        gain *= 0.5 - 0.5 * std::cos(kPi * t / in);
    }
    if (out > 0.0 && t > length - out) {
        gain *= 0.5 - 0.5 * std::cos(kPi * std::max(0.0, length - t) / out);
    }
    return gain;
}

// Frequency gliding from 'from' to 'to' Hz over 'length' seconds, evenly in pitch.
double glide(double t, double length, double from, double to) {
    return from * std::pow(to / from, std::min(t / length, 1.0));
}

void normalise(Samples& samples, double peak) {
    double largest = 0.0;
    for (double s : samples) {
        largest = std::max(largest, std::abs(s));
    }
    if (largest > 0.0) {
        for (double& s : samples) {
            s *= peak / largest;
        }
    }
}

// One-pole low-pass filter.
class LowPass {
  public:
    explicit LowPass(double cutoffHz) : a_(1.0 - std::exp(-kTwoPi * cutoffHz / kSoundRate)) {}
    double step(double x) { return y_ += a_ * (x - y_); }

  private:
    double a_;
    double y_ = 0.0;
};

// A sine whose frequency may change from sample to sample without jumps in phase.
class Oscillator {
  public:
    double step(double hz) {
        const double value = std::sin(phase_);
        phase_ = std::fmod(phase_ + kTwoPi * hz / kSoundRate, kTwoPi);
        return value;
    }

  private:
    double phase_ = 0.0;
};

double whiteNoise(Pcg32& random) {
    return random.range(-1.0, 1.0);
}

struct Partial {
    double ratio;  // of the fundamental
    double gain;
    double decay;  // seconds per factor e
};

// Struck partials on a fundamental, each ringing out at its own rate.
Samples ring(double seconds, double hz, const std::vector<Partial>& partials, double fadeOut) {
    Samples out(sampleCount(seconds));
    std::vector<Oscillator> oscillators(partials.size());
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = timeOf(i);
        double sum = 0.0;
        for (size_t p = 0; p < partials.size(); ++p) {
            sum += partials[p].gain * strike(t, 0.002, partials[p].decay) *
                   oscillators[p].step(hz * partials[p].ratio);
        }
        out[i] = sum * fade(t, seconds, 0.0, fadeOut);
    }
    return out;
}

// A bright bell-like ping on C6; its strongest partial is the fundamental.
Samples makeChime() {
    Samples out =
        ring(1.2, kChimeHz,
             {{1.0, 1.0, 0.45}, {2.0, 0.4, 0.25}, {3.0, 0.2, 0.15}, {4.16, 0.1, 0.08}}, 0.3);
    normalise(out, 0.8);
    return out;
}

// Wood struck: low partials that die within a few hundredths of a second, and a click.
Samples makeKnock() {
    Samples out = ring(0.18, 180.0, {{1.0, 1.0, 0.035}, {2.3, 0.6, 0.02}, {5.3, 0.35, 0.01}}, 0.04);
    Pcg32 random(0x6b6e6f636bULL);
    LowPass click(3000.0);
    for (size_t i = 0; i < out.size(); ++i) {
        out[i] += 0.8 * strike(timeOf(i), 0.0005, 0.004) * click.step(whiteNoise(random));
    }
    normalise(out, 0.8);
    return out;
}

// A rising whistle over a puff of air as the ball leaves the ground.
Samples makeLiftOff() {
    const double seconds = 0.35;
    Samples out(sampleCount(seconds));
    Pcg32 random(0x6c696674ULL);
    LowPass air(2500.0), rumble(400.0);
    Oscillator tone;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = timeOf(i);
        const double noise = whiteNoise(random);
        const double puff = air.step(noise) - rumble.step(noise);  // a band of 400 to 2500 Hz
        const double whistle = tone.step(glide(t, seconds, 260.0, 780.0));
        out[i] = (0.6 * whistle + 0.8 * puff) * fade(t, seconds, 0.03, 0.22);
    }
    normalise(out, 0.5);
    return out;
}

// A dull falling "bwomp" with a thud: the ball has run into a target.
Samples makeHitTarget() {
    const double seconds = 0.7;
    Samples out(sampleCount(seconds));
    Pcg32 random(0x686974ULL);
    LowPass thud(400.0);
    Oscillator first, third, fifth;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = timeOf(i);
        const double hz = glide(t, seconds, 300.0, 95.0);
        const double tone = first.step(hz) + 0.33 * third.step(3 * hz) + 0.2 * fifth.step(5 * hz);
        const double body = strike(t, 0.005, 0.25) * tone;
        const double hit = 1.5 * strike(t, 0.001, 0.05) * thud.step(whiteNoise(random));
        out[i] = (body + hit) * fade(t, seconds, 0.0, 0.1);
    }
    normalise(out, 0.8);
    return out;
}

// A long falling whistle with a slight waver: the ball has left the road.
Samples makeFall() {
    const double seconds = 1.6;
    Samples out(sampleCount(seconds));
    Oscillator tone, overtone;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = timeOf(i);
        const double hz =
            glide(t, seconds, 1100.0, 160.0) * (1.0 + 0.02 * std::sin(kTwoPi * 5 * t));
        out[i] = (tone.step(hz) + 0.2 * overtone.step(2 * hz)) * fade(t, seconds, 0.05, 0.6);
    }
    normalise(out, 0.6);
    return out;
}

struct Note {
    double start;   // seconds
    double length;  // seconds
    double hz;
    double gain;
};

// Brass-like: six harmonics falling off as 1/n, a soft attack and release, vibrato once held.
void addNote(Samples& out, const Note& note) {
    const size_t first = sampleCount(note.start);
    const size_t count = std::min(sampleCount(note.length), out.size() - first);
    std::vector<Oscillator> harmonics(6);
    for (size_t i = 0; i < count; ++i) {
        const double t = timeOf(i);
        const double vibrato = t > 0.2 ? 1.0 + 0.004 * std::sin(kTwoPi * 5.5 * (t - 0.2)) : 1.0;
        double sum = 0.0;
        for (size_t n = 1; n <= harmonics.size(); ++n) {
            sum += harmonics[n - 1].step(note.hz * n * vibrato) / n;
        }
        out[first + i] += note.gain * sum * fade(t, note.length, 0.01, 0.05);
    }
}

// Four rising notes of a C major chord, the last held over its chord: the level is won.
Samples makeFanfare() {
    const double seconds = 1.7;
    Samples out(sampleCount(seconds));
    const Note notes[] = {{0.00, 0.14, 523.25, 1.0}, {0.15, 0.14, 659.25, 1.0},
                          {0.30, 0.14, 783.99, 1.0}, {0.45, 1.25, 1046.5, 1.0},
                          {0.45, 1.25, 783.99, 0.5}, {0.45, 1.25, 659.25, 0.5}};
    for (const Note& note : notes) {
        addNote(out, note);
    }
    normalise(out, 0.8);
    return out;
}

// A soft rumble that loops without a seam: low-passed noise run through its filters twice,
// keeping the second pass, which starts in the state the first ended in, and a swell that
// repeats a whole number of times per loop.
Samples makeRolling() {
    const double seconds = 1.0;
    const double swellHz = 5.0;
    Samples noise(sampleCount(seconds));
    Pcg32 random(0x726f6c6cULL);
    for (double& n : noise) {
        n = whiteNoise(random);
    }
    LowPass low1(300.0), low2(300.0), grain(700.0);
    Samples out(noise.size());
    for (int pass = 0; pass < 2; ++pass) {
        for (size_t i = 0; i < noise.size(); ++i) {
            const double swell = 1.0 + 0.25 * std::sin(kTwoPi * swellHz * timeOf(i));
            out[i] = swell * (low2.step(low1.step(noise[i])) + 0.06 * grain.step(noise[i]));
        }
    }
    normalise(out, 0.45);
    return out;
}

}  // namespace

Samples makeSound(Sound sound) {
    switch (sound) {
        case Sound::LiftOff:
            return makeLiftOff();
        case Sound::Knock:
            return makeKnock();
        case Sound::Chime:
            return makeChime();
        case Sound::HitTarget:
            return makeHitTarget();
        case Sound::Fall:
            return makeFall();
        case Sound::Fanfare:
            return makeFanfare();
        case Sound::Rolling:
            return makeRolling();
    }
    return {};
}

bool saveWav(const Samples& samples, const std::string& path) {
    std::vector<int16_t> pcm(samples.size());
    for (size_t i = 0; i < samples.size(); ++i) {
        pcm[i] = static_cast<int16_t>(std::lround(std::clamp(samples[i], -1.0, 1.0) * 32767.0));
    }
    SF_INFO info{};
    info.samplerate = kSoundRate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) {
        return false;
    }
    const sf_count_t written =
        sf_write_short(file, pcm.data(), static_cast<sf_count_t>(pcm.size()));
    return sf_close(file) == 0 && written == static_cast<sf_count_t>(pcm.size());
}

}  // namespace assetgen
