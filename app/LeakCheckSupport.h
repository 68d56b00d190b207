#pragma once

// Keeps SDL2 (loaded at run time by the SDL 1.2 layer) and the software GL
// driver loaded until the process ends. Both are unloaded at exit otherwise,
// before the leak checker runs, which then cannot name, and so cannot
// suppress, the allocations they keep for the life of the process.
class LeakCheckSupport {
public:
    static void keepLibrariesLoaded();
};
