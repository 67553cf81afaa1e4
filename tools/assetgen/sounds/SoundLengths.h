#pragma once
// The lengths of the generated sounds, in frames at 44.1 kHz. The tests read
// them too: a gapless decoder must return exactly these counts.

namespace assetgen {

// The music: 16 bars of 4/4 at 75 beats a minute (51.2 s), one whole loop.
constexpr long kMusicBeatsPerMinute = 75;
constexpr long kMusicFramesPerBeat = 44100 * 60 / kMusicBeatsPerMinute;
constexpr long kMusicBars = 16;
constexpr long kMusicFrames = kMusicFramesPerBeat * 4 * kMusicBars;

// The dying bulb: 2.4 s.
constexpr long kBulbFrames = 44100 * 24 / 10;

}  // namespace assetgen
