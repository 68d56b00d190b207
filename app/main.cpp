#include "app/Application.h"

int main() {
    int code = 0;
    {
        Application application;
        code = application.start();
    }
    return code;
}
