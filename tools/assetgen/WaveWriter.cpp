#include "tools/assetgen/WaveWriter.h"

#include "tools/assetgen/IconWriter.h"

#include <cmath>
#include <cstdint>

namespace {

constexpr int kRate = 22050;

void PutLe(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(char((value >> (8 * i)) & 0xFF));
}

} // namespace

bool WriteWave(const std::string& path, const std::vector<Note>& notes) {
    std::string samples;
    uint32_t noise = 12345u;
    for (const Note& note : notes) {
        const int count = kRate * note.milliseconds / 1000;
        for (int i = 0; i < count; ++i) {
            // A 5 ms attack and an exponential decay keep the notes from clicking.
            const double attack = std::min(1.0, i / (0.005 * kRate));
            const double decay = std::exp(-3.0 * i / count);
            double wave;
            if (note.frequency > 0) {
                const double t = double(i) / kRate;
                wave = std::sin(2 * M_PI * note.frequency * t) +
                       0.3 * std::sin(4 * M_PI * note.frequency * t);
                wave /= 1.3;
            } else {
                noise = noise * 1103515245u + 12345u;
                wave = (int((noise >> 16) & 0x7FFF) - 16384) / 16384.0;
            }
            const auto value = int16_t(wave * attack * decay * note.volume * 30000);
            PutLe(samples, uint16_t(value), 2);
        }
    }
    std::string file = "RIFF";
    PutLe(file, uint32_t(36 + samples.size()), 4);
    file += "WAVEfmt ";
    PutLe(file, 16, 4);
    PutLe(file, 1, 2); // PCM
    PutLe(file, 1, 2); // mono
    PutLe(file, kRate, 4);
    PutLe(file, kRate * 2, 4);
    PutLe(file, 2, 2);
    PutLe(file, 16, 2);
    file += "data";
    PutLe(file, uint32_t(samples.size()), 4);
    file += samples;
    return WriteFile(path, file);
}
