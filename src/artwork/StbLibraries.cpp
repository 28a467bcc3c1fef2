// The stb libraries' code, compiled once for the whole program: stb_image_resize and
// stb_truetype. Warnings are theirs and switched off here.
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include <stb_image_resize.h>

#define STB_TRUETYPE_IMPLEMENTATION
#include <stb_truetype.h>
