#include "Random.h"

#include <chrono>
#include <random>

namespace platform {

namespace {
std::mt19937_64& Generator()
{
    static std::mt19937_64 generator(0x4d657265ULL);
    return generator;
}
} // namespace

void Randomize()
{
    const auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    Generator().seed(std::uint64_t(now) ^ (std::uint64_t(std::random_device{}()) << 32));
}

void Randomize(std::uint64_t seed) { Generator().seed(seed); }

double Rnd()
{
    // 53 random bits make a double in [0, 1) that can never round up to 1.
    return double(Generator()() >> 11) * 0x1.0p-53;
}

} // namespace platform
