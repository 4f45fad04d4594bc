#include "PlayerCount.h"

#include "Vb.h"

#include <cmath>

std::optional<int> PlayerCount(const QString& typed)
{
    if (typed.trimmed().isEmpty())
        return std::nullopt;
    const double value = std::nearbyint(Vb::Val(typed));
    if (value < 0 || value > 32767)
        return std::nullopt;
    return static_cast<int>(value);
}
