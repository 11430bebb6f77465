// kx_mkwav <output.wav>: writes the alarm sound of the notices, three short 880 Hz beeps, as a
// 16-bit PCM mono RIFF file of about one second. Each beep fades in and out over a few
// milliseconds so that it starts and stops without a click.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRate = 22050;
constexpr double kFrequency = 880.0;
constexpr double kBeepSeconds = 0.18;
constexpr double kGapSeconds = 0.12;
constexpr int kBeeps = 3;
constexpr double kFadeSeconds = 0.008;
constexpr double kAmplitude = 0.6 * 32767;

void put16(std::vector<unsigned char> &out, std::uint16_t v)
{
    out.push_back(v & 0xFF);
    out.push_back(v >> 8);
}

void put32(std::vector<unsigned char> &out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back((v >> (8 * i)) & 0xFF);
}

std::vector<std::int16_t> samples()
{
    const int beep = static_cast<int>(kBeepSeconds * kRate);
    const int gap = static_cast<int>(kGapSeconds * kRate);
    const int fade = static_cast<int>(kFadeSeconds * kRate);
    std::vector<std::int16_t> s;
    for (int b = 0; b < kBeeps; ++b) {
        for (int i = 0; i < beep; ++i) {
            double envelope = 1.0;
            if (i < fade)
                envelope = static_cast<double>(i) / fade;
            else if (i > beep - fade)
                envelope = static_cast<double>(beep - i) / fade;
            const double v = std::sin(2 * M_PI * kFrequency * i / kRate) * envelope * kAmplitude;
            s.push_back(static_cast<std::int16_t>(std::lround(v)));
        }
        s.insert(s.end(), gap, 0);
    }
    return s;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: kx_mkwav <output.wav>\n");
        return 2;
    }
    const std::vector<std::int16_t> pcm = samples();
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(pcm.size() * 2);
    std::vector<unsigned char> out;
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    put32(out, 36 + dataBytes);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(out, 16);          // format chunk size
    put16(out, 1);           // PCM
    put16(out, 1);           // mono
    put32(out, kRate);
    put32(out, kRate * 2);   // bytes per second
    put16(out, 2);           // block align
    put16(out, 16);          // bits per sample
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    put32(out, dataBytes);
    for (std::int16_t v : pcm)
        put16(out, static_cast<std::uint16_t>(v));

    std::FILE *f = std::fopen(argv[1], "wb");
    if (!f) {
        std::perror(argv[1]);
        return 1;
    }
    const bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    if (std::fclose(f) != 0 || !ok) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
