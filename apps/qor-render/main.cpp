// qor-render: draws display lists, slides and kernel objects into PNG and EMF files. Until the renderer
// lands it prints the library's version and runs a short self-check of the foundation types.
#include <cstdio>

#include "kernel/self_check.h"
#include "kernel/version.h"

int main() {
    std::printf("Qor %s\n", QOR::version());
    const char* failure = QOR::selfCheck();
    if (failure) {
        std::fprintf(stderr, "self-check failed: %s\n", failure);
        return 1;
    }
    std::printf("self-check: ok\n");
    return 0;
}
