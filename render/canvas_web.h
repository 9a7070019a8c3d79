// The page's side of the WebGL primitives: the GL objects they draw with and the batch of a frame.
#pragma once

// Compiles the one shader program and makes the vertex buffer, in the current WebGL context.
void setUpCanvasDrawing();

// The viewport in pixels, as the reshape sets it; the primitives' pixel widths and glyph pixels follow it.
void setCanvasViewport(int width, int height);

// Draws the triangles gathered since the last call, in the order the primitives gave them.
void flushCanvasDrawing();
