// Program entry. The frame window is not built yet; until it is, the program
// says so and ends.
#include <cstdio>

int main(int argc, char** argv) {
    (void)argc;
    (void)argv;
    std::fprintf(stderr, "ge: the editor window does not exist yet in this build.\n");
    return 0;
}
