#include "artwork/LabelFont.h"

// The font file, given by the build, goes into the program's read-only data as it is.
#define KESTRAN_STRINGIFY2(x) #x
#define KESTRAN_STRINGIFY(x) KESTRAN_STRINGIFY2(x)

#ifdef _WIN32
#define KESTRAN_READ_ONLY_SECTION ".section .rdata,\"dr\"\n"
#else
#define KESTRAN_READ_ONLY_SECTION ".section .rodata\n"
#endif

__asm__(KESTRAN_READ_ONLY_SECTION
        ".globl kestranLabelFont\n"
        ".balign 16\n"
        "kestranLabelFont:\n"
        ".incbin " KESTRAN_STRINGIFY(KESTRAN_LABEL_FONT_FILE) "\n"
        ".byte 0\n"
        ".text\n");

extern "C" const uint8_t kestranLabelFont[];

namespace artwork {

const uint8_t* LabelFontData() {
    return kestranLabelFont;
}

}  // namespace artwork
