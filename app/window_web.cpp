// The window in the page: a WebGL context on the canvas, frame begin and end, and the page's event loop, which
// hands the canvas keys to onKey one at a time, in order, while the program is not waiting on its console.
#include "app/window.h"

#include <GLES2/gl2.h>
#include <emscripten/html5.h>

#include "app/page_web.h"
#include "render/canvas_web.h"

static bool redisplayWanted;

void createMainWindow()
{
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    // The program's colours carry alpha 0, which an alpha canvas would show as transparent.
    attributes.alpha = EM_FALSE;
    attributes.depth = EM_FALSE;
    attributes.antialias = EM_FALSE;
    attributes.premultipliedAlpha = EM_FALSE;
    // The picture stays until the next key draws, as the desktop window keeps it.
    attributes.preserveDrawingBuffer = EM_TRUE;
    attributes.majorVersion = 1;
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = emscripten_webgl_create_context("#window", &attributes);
    emscripten_webgl_make_context_current(context);
    pageSetTitle(WINDOW_TITLE);
    setUpCanvasDrawing();
}

void setClearColour() { glClearColor(1, 1, 1, 1); }

void beginFrame() { glClear(GL_COLOR_BUFFER_BIT); }

void endFrame()
{
    flushCanvasDrawing();
    pageFrameDrawn();
}

void requestRedisplay() { redisplayWanted = true; }

void onReshape(int width, int height) { setCanvasViewport(width, height); }

void openWindow(int*, char**)
{
    createMainWindow();
    setClearColour();
}

// As GLUT does: the shown window is sized and drawn once; then each key in turn, and a frame asked for by a
// dialogue once the keys typed meanwhile have been handled. Only this loop calls into the program, and it
// waits while a dialogue reads the console, so no key is handled in the middle of another.
void runWindow(int* argc, char** argv)
{
    openWindow(argc, argv);
    onReshape(WINDOW_WIDTH, WINDOW_HEIGHT);
    displayPass();
    for (;;) {
        int key = pageNextWindowKey();
        int before = framesDrawn;
        onKey(static_cast<unsigned char>(key), 0, 0);
        if (framesDrawn != before)
            glFinish();
        pageKeyHandled(framesDrawn != before);
        if (redisplayWanted && !pageWindowKeysWaiting()) {
            redisplayWanted = false;
            displayPass();
        }
    }
}
