#pragma once
// State of the outside solver and engine, kept in the program block.

namespace engines {

/// Which outside programs were found at start-up.
struct EngineState {
    bool popeyeFound = false;
    bool craftyFound = false;
};

}  // namespace engines
