#include "camera/FlightJoints.h"

namespace assetgen::flight {

// Position, heading (the camera looks along it, so every segment is shaped to
// point at its subject), handle lengths before and after. Handles on both
// sides of a joint are close in length, so the speed does not jump there.
// The day clock: sunrise over the lake at about 7.5 s, the lamp fails at
// 20.5 s, the sun sets in the north-west at about 135 s, the bulbs glow again
// from about 137 s. Every second frames a subject: an object of the scene or
// the water (snapshot --coverage measures it); the few gaps are the quick
// turns between two subjects.
std::vector<Joint> dayJoints() {
    return {
        // 0 s, dawn: south-west of the breakfast table, gliding down towards
        // it; the table, the cups and their steam, the vase and the flower fill
        // the view until the camera levels out just above it.
        {{-28.0f, 18.2f, -8.4f}, {0.778f, -0.387f, 0.495f}, 0.0f, 22.7f},
        // 12.5 s: past the table, east over the garden towards the jetty and
        // the sunrise over the lake; then a turn to the right...
        {{19.3f, 11.6f, 5.6f}, {0.850f, -0.030f, -0.530f}, 9.3f, 8.5f},
        // 25 s: ...that brings the lamp into view as it fails; passing it on
        // its north side, straight at the south-west tree and its shadow...
        {{2.0f, 14.0f, -10.5f}, {-0.968f, 0.000f, -0.251f}, 21.9f, 16.8f},
        // 37.5 s, morning: ...turning right past it to the north-west
        // tree...
        {{-30.4f, 12.6f, -12.6f}, {-0.021f, 0.000f, 1.000f}, 14.2f, 15.3f},
        // 50 s: ...and east along the table's south side, the lamp and the
        // south-east tree to the right, then down the path towards the jetty.
        {{24.0f, 11.0f, -3.0f}, {0.970f, -0.100f, 0.200f}, 30.0f, 22.0f},
        // 62.5 s, day: at the jetty's foot, the boat at its end ahead.
        {{56.4f, 5.6f, 5.2f}, {0.985f, 0.061f, 0.164f}, 19.6f, 19.7f},
        // 75 s: over the boat, then low over the water towards the tree on the
        // east shore.
        {{94.6f, 5.0f, 8.1f}, {0.966f, -0.034f, 0.258f}, 13.5f, 17.0f},
        // 87.5 s: low over the water in a wide left turn, the lake ahead...
        {{175.3f, 2.0f, 3.4f}, {0.600f, -0.020f, 0.800f}, 31.1f, 32.0f},
        // 100 s: ...round to look across the lake to the garden, the jetty,
        // the boat and the trees.
        {{176.0f, 5.5f, 50.0f}, {-0.970f, -0.020f, -0.240f}, 29.1f, 26.6f},
        // 112.5 s, dusk: over the middle of the lake, turning to face the sun
        // as it sinks in the north-west over the water...
        {{140.0f, 9.0f, 20.0f}, {-0.880f, -0.020f, 0.470f}, 25.0f, 19.0f},
        {{115.0f, 8.0f, 40.0f}, {-0.750f, 0.000f, 0.660f}, 16.0f, 16.0f},
        // 137.5 s: the sun has set; turned left for home, over the water...
        {{88.0f, 7.0f, 52.0f}, {-0.850f, 0.000f, -0.530f}, 14.0f, 16.0f},
        // 150 s: ...past the jetty towards the lamp as its bulbs glow again.
        {{40.0f, 12.0f, 8.0f}, {-0.850f, 0.050f, -0.530f}, 20.0f, 0.0f},
    };
}

}  // namespace assetgen::flight
