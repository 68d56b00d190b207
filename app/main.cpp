#include <cstdio>

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/LeakCheckSupport.h"

int main(int argc, char** argv) {
#ifdef TOLVEK_SANITIZE
    LeakCheckSupport::keepLibrariesLoaded();
#endif
    CommandLine options;
    if (!options.parse(argc, argv)) {
        std::fprintf(stderr, "tolvek: %s\n%s\n", options.error().c_str(), CommandLine::usage());
        return 2;
    }
    if (options.showHelp || options.showVersion) {
        if (options.showHelp)
            std::printf("%s\n\n%s", CommandLine::usage(), CommandLine::help());
        else
            std::printf("tolvek %s\n", TOLVEK_VERSION);
        return 0;
    }
    int code = 0;
    {
        Application application;
        code = application.start(options);
    }
    return code;
}
