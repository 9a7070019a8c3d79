// The shortest digits of a double for to_chars_web.h, from JavaScript, whose Number.prototype.toExponential()
// without an argument gives the fewest digits that read back as the same number, the closest of them.
#include <emscripten/emscripten.h>

EM_JS(int, toCharsShortestWeb, (double value, char* digits, int* exponent), {
    const text = value.toExponential();
    const e = text.indexOf('e');
    let count = 0;
    for (let i = 0; i < e; i++)
        if (text.charCodeAt(i) !== 46)
            HEAPU8[digits + count++] = text.charCodeAt(i);
    HEAP32[exponent >> 2] = Number(text.slice(e + 1));
    return count;
});
