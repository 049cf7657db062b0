// Synthesises the table's sound effects and its background music as 16-bit mono WAV files:
// sorvik-soundgen OUTPUT_FOLDER

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

using Samples = std::vector<double>;

void Add(Samples& s, double at, const Samples& part, double gain = 1.0) {
    const size_t start = static_cast<size_t>(at * kRate);
    if (s.size() < start + part.size()) s.resize(start + part.size(), 0.0);
    for (size_t i = 0; i < part.size(); ++i) s[start + i] += gain * part[i];
}

// A tone with a soft attack and an exponential decay; `bend` glides the pitch.
Samples Tone(double freq, double seconds, double decay = 6.0, double bend = 0.0,
             double harmonics = 0.3) {
    Samples s(static_cast<size_t>(seconds * kRate));
    double phase = 0.0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double f = freq * std::pow(2.0, bend * t / seconds);
        phase += 2 * kPi * f / kRate;
        const double env = std::min(1.0, t * 200.0) * std::exp(-decay * t);
        s[i] = env * (std::sin(phase) + harmonics * std::sin(2 * phase) +
                      harmonics * 0.4 * std::sin(3 * phase));
    }
    return s;
}

// Filtered noise burst: clicks, card swishes, chip rattles.
Samples Noise(double seconds, double decay, double smooth, uint32_t seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    Samples s(static_cast<size_t>(seconds * kRate));
    double y = 0.0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        y += smooth * (u(rng) - y);
        s[i] = y * std::min(1.0, t * 400.0) * std::exp(-decay * t);
    }
    return s;
}

double Note(int semitonesFromA4) { return 440.0 * std::pow(2.0, semitonesFromA4 / 12.0); }

bool Write(const std::string& path, Samples s, double volume = 0.8) {
    double peak = 1e-9;
    for (double v : s) peak = std::max(peak, std::abs(v));
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    auto u32 = [f](uint32_t v) { std::fwrite(&v, 4, 1, f); };
    auto u16 = [f](uint16_t v) { std::fwrite(&v, 2, 1, f); };
    const uint32_t bytes = static_cast<uint32_t>(s.size() * 2);
    std::fwrite("RIFF", 1, 4, f);
    u32(36 + bytes);
    std::fwrite("WAVEfmt ", 1, 8, f);
    u32(16);
    u16(1);
    u16(1);
    u32(kRate);
    u32(kRate * 2);
    u16(2);
    u16(16);
    std::fwrite("data", 1, 4, f);
    u32(bytes);
    for (double v : s) u16(static_cast<uint16_t>(static_cast<int16_t>(std::lround(v / peak * volume * 32767))));
    return std::fclose(f) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const std::string out = argv[1];
    bool ok = true;
    auto save = [&](const char* name, Samples s, double volume = 0.8) {
        ok = Write(out + "/" + name, std::move(s), volume) && ok;
    };

    // Background music: a gentle pentatonic tune over a plucked bass, about 16 s, looping.
    {
        Samples m;
        const int melody[] = {3, 5, 7, 10, 12, 10, 7, 5, 3, 0, 3, 5, 7, 5, 3, -2,
                              3, 5, 7, 10, 12, 15, 12, 10, 7, 10, 7, 5, 3, 5, 3, 3};
        const int bass[] = {-21, -14, -18, -11, -21, -14, -16, -9};
        const double beat = 0.5;
        for (int i = 0; i < 32; ++i) Add(m, i * beat, Tone(Note(melody[i]), 0.9, 3.5, 0, 0.25), 0.5);
        for (int i = 0; i < 16; ++i) Add(m, i * 2 * beat, Tone(Note(bass[i % 8]), 1.4, 2.0, 0, 0.5), 0.45);
        m.resize(static_cast<size_t>(32 * beat * kRate));
        save("majiang.wav", m, 0.6);
    }
    save("tishi.wav", Tone(Note(15), 0.18, 12.0, 0, 0.1));
    {
        Samples click = Noise(0.05, 80, 0.6, 1);
        Add(click, 0, Tone(Note(7), 0.06, 60), 0.5);
        save("button.wav", click);
    }
    {
        Samples coin;
        Add(coin, 0, Tone(Note(27), 0.25, 14, 0, 0.6));
        Add(coin, 0.03, Tone(Note(31), 0.22, 16, 0, 0.5), 0.7);
        save("coin_click.wav", coin);
    }
    save("mousemove.wav", Tone(Note(19), 0.05, 70, 0, 0.0), 0.35);
    {
        Samples rattle;
        for (int i = 0; i < 6; ++i) {
            Add(rattle, 0.045 * i, Tone(Note(26 + (i % 3) * 2), 0.12, 30, 0, 0.6), 0.6);
            Add(rattle, 0.045 * i, Noise(0.03, 120, 0.8, 10 + i), 0.3);
        }
        save("coin_move.wav", rattle);
    }
    save("deliver_card.wav", Noise(0.12, 30, 0.25, 7));
    {
        Samples vs;
        Add(vs, 0, Tone(Note(-5), 0.35, 5, 0, 0.6));
        Add(vs, 0.25, Tone(Note(2), 0.5, 4, 0, 0.6));
        save("vs.wav", vs);
    }
    save("giveup.wav", Tone(Note(5), 0.45, 5, -1.0, 0.4));
    {
        Samples flip = Noise(0.08, 40, 0.35, 3);
        Add(flip, 0.09, Noise(0.08, 40, 0.35, 4), 0.8);
        save("kanpai.wav", flip);
    }
    {
        Samples win;
        const int up[] = {0, 4, 7, 12};
        for (int i = 0; i < 4; ++i) Add(win, 0.09 * i, Tone(Note(up[i]), 0.4, 6), 0.6);
        save("vs_win.wav", win);
    }
    {
        Samples lost;
        const int down[] = {7, 3, 0, -5};
        for (int i = 0; i < 4; ++i) Add(lost, 0.12 * i, Tone(Note(down[i]), 0.45, 5), 0.6);
        save("vs_lost.wav", lost);
    }
    {
        Samples fanfare;
        const int notes[] = {0, 4, 7, 12, 7, 12, 16};
        const double at[] = {0, 0.12, 0.24, 0.36, 0.6, 0.72, 0.84};
        for (int i = 0; i < 7; ++i) Add(fanfare, at[i], Tone(Note(notes[i]), i == 6 ? 1.0 : 0.3, 4, 0, 0.5), 0.6);
        save("victory.wav", fanfare);
    }
    {
        Samples sad;
        const int notes[] = {2, 1, 0};
        for (int i = 0; i < 3; ++i) Add(sad, 0.3 * i, Tone(Note(notes[i] - 5), 0.35, 3, 0, 0.7), 0.6);
        Add(sad, 0.9, Tone(Note(-6), 1.0, 2.5, -0.3, 0.7), 0.6);
        save("fail.wav", sad);
    }
    return ok ? 0 : 1;
}
