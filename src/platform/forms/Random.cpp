#include "forms/Random.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <random>

namespace platform {

namespace {
QRandomGenerator& Generator()
{
    static QRandomGenerator generator;
    return generator;
}
} // namespace

void Randomize() { Randomize(quint64(QDateTime::currentMSecsSinceEpoch()) ^ QRandomGenerator::system()->generate64()); }

void Randomize(quint64 seed)
{
    std::seed_seq sequence{quint32(seed), quint32(seed >> 32)};
    Generator().seed(sequence);
}

double Rnd() { return Generator().generateDouble(); }

} // namespace platform
