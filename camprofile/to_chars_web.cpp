// The shortest digits of a double for to_chars_web.h, from JavaScript, whose Number.prototype.toExponential()
// without an argument gives the fewest digits that read back as the same number, the closest of them.
#include <emscripten/emscripten.h>

EM_JS(int, toCharsShortestWeb, (double value, char* text, int size), {
    const digits = value.toExponential();
    stringToUTF8(digits, text, size);
    return lengthBytesUTF8(digits);
});
