// Build-time helper of the page: writes freeglut's HELVETICA_18 bitmap font, as the installed libglut holds it,
// as a C++ header for the WebGL primitives. Glyph rows run bottom to top, 8 pixels a byte, leftmost in the top bit.
#include <cstdio>

// The layout of a bitmap font inside libglut (freeglut 3.x), which exports the font's data by this name.
struct GlutBitmapFont {
    const char* name;
    int quantity;
    int height;
    const unsigned char** characters;
    float xorig;
    float yorig;
};
extern "C" GlutBitmapFont fgFontHelvetica18;

int main()
{
    const GlutBitmapFont& font = fgFontHelvetica18;
    if (font.quantity != 256 || font.height <= 0 || font.height > 64 || font.characters == nullptr) {
        fprintf(stderr, "export_glyphs: libglut's HELVETICA_18 is not laid out as expected (%d glyphs, height %d)\n",
                font.quantity, font.height);
        return 1;
    }
    printf("// Generated at build time from libglut's fgFontHelvetica18 (%s); not edited by hand.\n", font.name);
    printf("#pragma once\n\n");
    printf("constexpr int GLYPH_HEIGHT = %d;\n", font.height);
    printf("constexpr float GLYPH_XORIG = %.9g;\nconstexpr float GLYPH_YORIG = %.9g;\n", font.xorig, font.yorig);
    printf("// Per character: its width in pixels (also its advance), then GLYPH_HEIGHT rows of (width + 7) / 8 bytes.\n");
    printf("constexpr unsigned char GLYPH_DATA[] = {\n");
    int offsets[256];
    int offset = 0;
    for (int c = 0; c < 256; c++) {
        const unsigned char* glyph = font.characters[c];
        offsets[c] = offset;
        int width = glyph == nullptr ? 0 : glyph[0];
        int bytes = glyph == nullptr ? 0 : font.height * ((width + 7) / 8);
        printf("    %d,", width);
        for (int i = 0; i < bytes; i++)
            printf("%d,", glyph[1 + i]);
        printf("\n");
        offset += 1 + bytes;
    }
    printf("};\n// Where each character's width byte stands in GLYPH_DATA.\nconstexpr int GLYPH_OFFSET[256] = {");
    for (int c = 0; c < 256; c++)
        printf("%s%d,", c % 16 == 0 ? "\n    " : "", offsets[c]);
    printf("\n};\n");
    return 0;
}
