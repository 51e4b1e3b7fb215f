#pragma once
// The rules of the conversation that both ends keep, beyond the wire
// grammar of protocol.h: the game window's match and the computer's player
// follow the same ones.

namespace torvane::conversation {

// A game starts with the start banner blinking: six steps of half a second,
// three seconds in all. Only then does the player who started move; a move
// that arrives during the start waits for its end.
inline constexpr int kStartSteps = 6;
inline constexpr int kStartStepMs = 500;
inline constexpr int kStartMs = kStartSteps * kStartStepMs;

// Both players may start a game at nearly the same moment, each receiving
// the other's start during its own: the server's start stands on both
// screens, so the server ignores the client's and the client gives its own
// up.
constexpr bool ownStartStands(bool isServer) { return isServer; }

}  // namespace torvane::conversation
