// tonalyx-cli: the analyzer's core run headless from the command line. Main thread only.
#include <cstdio>
#include <cstring>

#include "app/version.h"

namespace {

void PrintUsage(FILE* out) {
    std::fprintf(out, "Usage: tonalyx-cli [--version] [--help]\n"
                      "\n"
                      "  --version  print the program's name and version\n"
                      "  --help     print this text\n");
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("%s %s\n", TONALYX_PRODUCT, TONALYX_VERSION);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        PrintUsage(stdout);
        return 0;
    }
    PrintUsage(stderr);
    return 2;
}
