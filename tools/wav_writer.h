// Writes two channels of doubles as a 32-bit float WAV file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

bool WriteFloatWav(const std::string& path, const std::vector<double>& left,
                   const std::vector<double>& right, uint32_t sampleRate);
