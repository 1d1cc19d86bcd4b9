#pragma once

#include <cstdint>
#include <vector>

namespace travoli::assets {

// The three effects as whole RIFF WAVE files, 8-bit mono PCM.
std::vector<std::uint8_t> SolvedSound();   // 11025 Hz, 9051 samples, "fmt " of 18 and "fact"
std::vector<std::uint8_t> MoveSound();     // 5512 Hz, 1570 samples
std::vector<std::uint8_t> RefusedSound();  // 11025 Hz, 6691 samples and a "LIST" chunk

}  // namespace travoli::assets
