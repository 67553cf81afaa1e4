#include "lib/Cells.h"

#include <cmath>

#include "lib/Noise.h"

namespace assetgen {

float hashUnit(uint32_t h) {
    return float(hash32(h) >> 8) / float(1u << 24);
}

CellSample cells(float u, float v, int n, uint32_t seed, float jitter) {
    const float x = u * n, y = v * n;
    const int cx = int(std::floor(x)), cy = int(std::floor(y));
    CellSample s;
    s.nearest = s.second = 1e9f;
    for (int j = -1; j <= 1; ++j) {
        for (int i = -1; i <= 1; ++i) {
            const int wx = ((cx + i) % n + n) % n, wy = ((cy + j) % n + n) % n;
            const uint32_t h = hash32(uint32_t(wx) + hash32(uint32_t(wy) + hash32(seed)));
            const float px = cx + i + 0.5f + jitter * (hashUnit(h) - 0.5f);
            const float py = cy + j + 0.5f + jitter * (hashUnit(h ^ 0x68bc21ebu) - 0.5f);
            const float dx = x - px, dy = y - py;
            const float d = std::sqrt(dx * dx + dy * dy);
            if (d < s.nearest) {
                s.second = s.nearest;
                s.nearest = d;
                s.id = h;
                s.dx = dx;
                s.dy = dy;
            } else if (d < s.second) {
                s.second = d;
            }
        }
    }
    return s;
}

}  // namespace assetgen
