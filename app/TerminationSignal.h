#pragma once

// SIGTERM and SIGINT end the game through its normal exit path, from any
// screen: the handler only raises a flag that the main loop reads.
class TerminationSignal {
public:
    // Before the window library starts, so it keeps its own handlers out.
    static void install();
    static bool received();
    static void clear();
};
