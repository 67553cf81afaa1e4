#include "camera/FlightJoints.h"

namespace assetgen::flight {

// Position, heading (the camera looks along it), handle lengths before and
// after. The day clock: sunrise over the lake at about 7 s, the lamp fails at
// 20.5 s, the sun sets in the north-west at about 135 s, the bulbs glow again
// from about 137 s.
std::vector<Joint> dayJoints() {
    return {
        // 0 s, dawn: just south of the breakfast table, heading over it past
        // the steam, the vase and the flower.
        {{3.0f, 13.5f, -11.0f}, {-9.0f, -1.8f, 12.0f}, 0.0f, 28.0f},
        // 12.5 s: swung round to the east over the garden, facing the sunrise.
        {{32.0f, 14.0f, 38.0f}, {1.0f, 0.02f, -0.35f}, 34.0f, 38.0f},
        // 25 s: turned back by the shore; the lamp straight ahead at 20 s,
        // now passing north of it.
        {{-2.0f, 15.0f, -10.0f}, {-1.0f, 0.0f, -0.05f}, 30.0f, 28.0f},
        // 37.5 s, morning: west between the garden trees, round the far one.
        {{-80.0f, 11.0f, -40.0f}, {0.1f, -0.03f, -1.0f}, 28.0f, 40.0f},
        // 50 s: back north between the lamp and the table...
        {{-20.0f, 8.0f, -30.0f}, {0.25f, -0.02f, 1.0f}, 30.0f, 15.0f},
        // 62.5 s: ...and down the path to the jetty's foot.
        {{50.0f, 5.0f, 10.0f}, {1.0f, -0.02f, 0.0f}, 25.0f, 22.0f},
        // 75 s, day: along the jetty and over the boat at its end.
        {{106.0f, 4.5f, 10.0f}, {1.0f, -0.06f, 0.0f}, 20.0f, 25.0f},
        // 87.5 s: low over the water, reflections and shadows.
        {{185.0f, 1.5f, -40.0f}, {0.45f, 0.0f, -1.0f}, 25.0f, 35.0f},
        // 100 s: climbed over the east shore for the overview.
        {{255.0f, 24.0f, -45.0f}, {0.0f, 0.08f, 1.0f}, 35.0f, 35.0f},
        // 112.5 s, dusk: turned west over the lake towards the low sun.
        {{215.0f, 15.0f, 40.0f}, {-1.0f, -0.08f, 0.04f}, 35.0f, 25.0f},
        // 125 s: low over the water, facing the sunset in the north-west.
        {{150.0f, 5.0f, 40.0f}, {-0.9f, 0.0f, 0.42f}, 25.0f, 25.0f},
        // 137.5 s: the sun has set; turning for home.
        {{95.0f, 9.0f, 70.0f}, {-0.93f, 0.02f, 0.37f}, 20.0f, 35.0f},
        // 150 s: beyond the table, looking at the lamp as its bulbs glow.
        {{12.0f, 15.5f, 12.0f}, {-0.36f, 0.0f, -1.0f}, 25.0f, 0.0f},
    };
}

}  // namespace assetgen::flight
