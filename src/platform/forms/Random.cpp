#include "forms/Random.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <optional>
#include <random>

namespace platform {

namespace {
// Made when first seeded: made and then seeded, the generator would fill its state twice.
std::optional<QRandomGenerator> generator;

QRandomGenerator& Generator()
{
    if (!generator) generator.emplace();
    return *generator;
}
} // namespace

void Randomize() { Randomize(quint64(QDateTime::currentMSecsSinceEpoch()) ^ QRandomGenerator::system()->generate64()); }

void Randomize(quint64 seed)
{
    std::seed_seq sequence{quint32(seed), quint32(seed >> 32)};
    generator.emplace(sequence);
}

double Rnd() { return Generator().generateDouble(); }

} // namespace platform
