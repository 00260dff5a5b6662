#include "ContentSet.h"

#include <algorithm>
#include <cmath>

namespace game {

int DealNumber(double r, int count)
{
    if (count <= 0) return 0;
    // r is below 1, so the floor is below count; the clamp guards a generator that is not.
    const double d = std::floor(r * count);
    return std::clamp(int(d), 0, count - 1);
}

} // namespace game
