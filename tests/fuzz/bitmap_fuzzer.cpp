// libFuzzer target for the program's input parsers: the BMP loader and the two font loaders,
// followed by drawing every character, so fuzzed metrics also drive the blits. Build and run:
//   CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DTONALYX_FUZZ=ON \
//       -DTONALYX_SANITIZE=address,undefined,fuzzer-no-link
//   cmake --build build/fuzz --target bitmap_fuzzer && build/fuzz/bitmap_fuzzer -max_total_time=60
#include <cstddef>
#include <cstdint>
#include <vector>

#include "gfx/font.h"
#include "port/headless/headless.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    // Byte 0 picks the loader; byte 1 how many of the remaining bytes form the metrics table.
    const uint8_t mode = data[0] % 3;
    const std::size_t metricsSize = std::min<std::size_t>(data[1], size - 2);
    // Exactly sized copies, so the sanitizer sees any read past their ends.
    std::vector<uint8_t> metrics(data + 2, data + 2 + metricsSize);
    std::vector<uint8_t> bitmap(data + 2 + metricsSize, data + size);
    const headless::EmbeddedResource table[] = {
        {"BITMAP", "FUZZ", bitmap.data(), bitmap.size()},
        {"TEXT", "FUZZ", metrics.data(), metrics.size()},
    };
    headless::SetResourceTable(table, 2);
    CDib target;
    target.Create(64, 32);
    target.Clear(0);
    if (mode == 0) {
        CDib dib;
        if (dib.LoadFromResource(port::ProgramModule(), "FUZZ"))
            target.Blit(-3, -3, dib.m_Width, dib.m_Height, dib, 0, 0, BLIT_KEYED);
    } else {
        Font font;
        const int loaded = mode == 1 ? font.LoadText(port::ProgramModule(), "FUZZ")
                                     : font.LoadMarked(port::ProgramModule(), "FUZZ");
        if (loaded) {
            char text[256];
            for (int i = 1; i < 256; ++i)
                text[i - 1] = static_cast<char>(i);
            text[255] = '\0';
            font.DrawText(target, -1, 2, text, 0x7FFF, BLIT_PEN);
            font.DrawText(target, 0, -4, text + 31, 0x7FFF, BLIT_KEYED);
        }
    }
    headless::SetResourceTable(nullptr, 0);
    headless::TakeMessages();
    return 0;
}
