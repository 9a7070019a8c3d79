// The calls into the page (web/page.js, as Module.page); EM_ASYNC_JS ones suspend the program with Asyncify.
#include "app/page_web.h"

#include <emscripten.h>

// Suspends the program (Asyncify) until the page's terminal has bytes for it: one key press with singleKey,
// else one edited line; copies at most room of them into into and returns the count (0 at end of input).
EM_ASYNC_JS(int, readConsoleSuspended, (unsigned char* into, int room, int singleKey), {
    const bytes = await Module.page.readConsole(room, singleKey !== 0);
    HEAPU8.set(bytes, into);
    return bytes.length;
});

// Suspends the program until a key is typed in the canvas (or was typed before, in order); returns its code.
EM_ASYNC_JS(int, nextWindowKeySuspended, (), { return await Module.page.nextWindowKey(); });

// Called from other files through these: an EM_ASYNC_JS import is known by its own name only here.
int pageReadConsole(unsigned char* into, int room, int singleKey) { return readConsoleSuspended(into, room, singleKey); }
int pageNextWindowKey() { return nextWindowKeySuspended(); }

// Whether canvas keys are waiting to be handled.
EM_JS(int, pageWindowKeysWaiting, (), { return Module.page.windowKeysWaiting() ? 1 : 0; });

// The key last handed over has been handled; drewFrame if its frame is drawn and finished.
EM_JS(void, pageKeyHandled, (int drewFrame), { Module.page.keyHandled(drewFrame !== 0); });

// A frame has been drawn into the canvas.
EM_JS(void, pageFrameDrawn, (), { Module.page.frameDrawn(); });

// Whether this browser can give the canvas a WebGL context at all.
EM_JS(int, pageHasWebGL, (), { return Module.page.hasWebGL() ? 1 : 0; });

// The page's title, from UTF-8.
EM_JS(void, pageSetTitle, (const char* title), { document.title = UTF8ToString(title); });
