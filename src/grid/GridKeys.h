#pragma once

namespace grid {

// Key codes of the grid handlers: the Windows virtual-key numbers, which the ui maps its
// keys to. A handler that consumes a key sets it to 0.
namespace keys {
inline constexpr int Enter = 13;
inline constexpr int Delete = 46;
inline constexpr int C = 67;
inline constexpr int V = 86;
inline constexpr int X = 88;
inline constexpr int Z = 90;
}  // namespace keys

// Modifier keys held while a key went down.
struct KeyModifiers {
    bool shift = false;
    bool control = false;
    bool alt = false;
};

}  // namespace grid
