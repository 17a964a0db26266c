// The graphics module: the drawing interface of the application layer.
//
// Free functions bb_graphics_* sit on the render device (graphics/device.h)
// and add a matrix stack with translate, rotate and scale, images cut into
// frames with a handle, grabbing sub-images from a sheet, and lazy sending of
// the matrix to the device. State and drawing functions act on
// bb_graphics_renderDevice, which is set only during the render step; image
// loading and the device size use bb_graphics_device.
#pragma once

#include "graphics/device.h"
#include "runtime/runtime.h"

class c_Frame;
class c_Image;

// ---------------------------------------------------------------------------
// Constants
// ---------------------------------------------------------------------------

// Blend modes.
constexpr int bb_graphics_AlphaBlend = 0;
constexpr int bb_graphics_AdditiveBlend = 1;

// Floats in the matrix stack: 32 saved matrices of 6 floats.
constexpr int kGraphicsMatrixStackFloats = 192;

// ---------------------------------------------------------------------------
// c_GraphicsContext: current matrix, colour, blend, scissor and font
// ---------------------------------------------------------------------------

class c_GraphicsContext : public Object {
public:
    c_Image *defaultFont = nullptr;
    c_Image *font = nullptr;
    int firstChar = 0;
    int matrixDepth = 0;
    float a = 1.0f, b = 0.0f, c = 0.0f, d = 1.0f, tx = 0.0f, ty = 0.0f;
    int transformed = 0;
    int matrixDirty = 0;
    float red = 0.0f, green = 0.0f, blue = 0.0f;
    float alpha = 0.0f;
    int blend = 0;
    float scissorX = 0.0f, scissorY = 0.0f, scissorWidth = 0.0f, scissorHeight = 0.0f;
    Array<float> matrixStack;

    c_GraphicsContext();
    c_GraphicsContext *m_new();
    void mark() override;

    // Sends a changed matrix to the render device.
    virtual int p_Validate();
};

// ---------------------------------------------------------------------------
// c_Frame: top-left corner of one frame on a surface
// ---------------------------------------------------------------------------

class c_Frame : public Object {
public:
    int x = 0;
    int y = 0;

    c_Frame();
    c_Frame *m_new(int x, int y);
    c_Frame *m_new2();
};

// ---------------------------------------------------------------------------
// c_Image: frames cut from a surface, with a handle
// ---------------------------------------------------------------------------

class c_Image : public Object {
public:
    // Image flags.
    static constexpr int CenterHandle = 1;
    static constexpr int PadX = 2;
    static constexpr int PadY = 4;
    static constexpr int WholeSurface = 65536;  // set by the module only

    static int m_DefaultFlags;

    gxtkSurface *surface = nullptr;  // shared with images grabbed from this one
    int width = 0;                   // size of one frame
    int height = 0;
    Array<c_Frame *> frames;
    int flags = 0;
    float handleX = 0.0f;
    float handleY = 0.0f;
    c_Image *source = nullptr;  // the sheet this image was grabbed from

    c_Image();
    c_Image *m_new();
    void mark() override;

    virtual int p_SetHandle(float x, float y);
    virtual int p_ApplyFlags(int flags);
    virtual c_Image *p_Init(gxtkSurface *surface, int frameCount, int flags);
    // Ends the program with "Image frame outside surface" when a frame does
    // not fit on the source.
    virtual c_Image *p_Grab(int x, int y, int width, int height, int frameCount, int flags,
                            c_Image *source);
    // Null unless this image has exactly one frame.
    virtual c_Image *p_GrabImage(int x, int y, int width, int height, int frameCount, int flags);
};

// ---------------------------------------------------------------------------
// Module globals (collector roots)
// ---------------------------------------------------------------------------

extern gxtkGraphics *bb_graphics_device;        // the render device for the whole run
extern c_GraphicsContext *bb_graphics_context;  // created at start-up
extern gxtkGraphics *bb_graphics_renderDevice;  // the device, only during the render step

// ---------------------------------------------------------------------------
// Frame step
// ---------------------------------------------------------------------------

int bb_graphics_BeginRender();
int bb_graphics_EndRender();
int bb_graphics_SetGraphicsDevice(gxtkGraphics *device);

// ---------------------------------------------------------------------------
// State
// ---------------------------------------------------------------------------

int bb_graphics_SetColor(float r, float g, float b);
int bb_graphics_SetAlpha(float alpha);
int bb_graphics_SetBlend(int blend);
int bb_graphics_SetScissor(float x, float y, float width, float height);
int bb_graphics_DeviceWidth();
int bb_graphics_DeviceHeight();
int bb_graphics_SetFont(c_Image *font, int firstChar);

// ---------------------------------------------------------------------------
// Matrix
// ---------------------------------------------------------------------------

int bb_graphics_SetMatrix(float a, float b, float c, float d, float tx, float ty);
int bb_graphics_SetMatrix2(Array<float> m);
int bb_graphics_Transform(float a, float b, float c, float d, float tx, float ty);
int bb_graphics_Transform2(Array<float> m);
int bb_graphics_Translate(float x, float y);
int bb_graphics_Rotate(float degrees);
int bb_graphics_Scale(float x, float y);
int bb_graphics_PushMatrix();
int bb_graphics_PopMatrix();

// ---------------------------------------------------------------------------
// Drawing
// ---------------------------------------------------------------------------

int bb_graphics_Cls(float r, float g, float b);
int bb_graphics_DrawRect(float x, float y, float width, float height);
int bb_graphics_DrawLine(float x1, float y1, float x2, float y2);
// (x, y) is the centre.
int bb_graphics_DrawEllipse(float x, float y, float xRadius, float yRadius);
int bb_graphics_DrawImage(c_Image *image, float x, float y, int frame);
int bb_graphics_DrawImage2(c_Image *image, float x, float y, float rotation, float scaleX,
                           float scaleY, int frame);
// pitch 0 means rows packed width elements apart.
int bb_graphics_ReadPixels(Array<int> pixels, int x, int y, int width, int height, int offset,
                           int pitch);

// ---------------------------------------------------------------------------
// Images
// ---------------------------------------------------------------------------

c_Image *bb_graphics_LoadImage(String path, int frameCount, int flags);
c_Image *bb_graphics_LoadImage2(String path, int frameWidth, int frameHeight, int frameCount,
                                int flags);
