#include "app/Application.h"
#include "app/LeakCheckSupport.h"

int main() {
#ifdef TOLVEK_SANITIZE
    LeakCheckSupport::keepLibrariesLoaded();
#endif
    int code = 0;
    {
        Application application;
        code = application.start();
    }
    return code;
}
