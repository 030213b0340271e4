#pragma once
// The caption of every box that tells the operator something failed: a port that could not be
// connected, a listener that could not be opened, a refused command line. Platform-free.

namespace app {

inline constexpr char kFailureCaption[] = "Nasol :(";

}  // namespace app
