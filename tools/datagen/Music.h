#pragma once
// The demo's music, as the players and the tests need to know it.
namespace datagen {

// How long the mission-complete jingle plays, in seconds; it does not loop.
constexpr double JINGLE_SECONDS = 4.5;

}  // namespace datagen
