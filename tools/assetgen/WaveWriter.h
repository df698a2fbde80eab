#pragma once

// Short table sounds: notes of sine tones with a soft attack and decay, or
// clicks of noise, written as 16-bit mono wave files.

#include <string>
#include <vector>

struct Note {
    double frequency; // 0: a click of noise
    int milliseconds;
    double volume; // 0..1
};

bool WriteWave(const std::string& path, const std::vector<Note>& notes);
