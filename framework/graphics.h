// Window, display mode, pixel format, rendering context and projection.
#pragma once

#include <cstdint>

#include "platform.h"

extern uint32_t ListBase;
extern plat::HWND hWnd;
extern plat::HDC hDC;
extern plat::HGLRC hRC;

int Graphics_Init();
bool Graphics_Init_CreateWindow();
void Graphics_Resize(int32_t width, int32_t height);
void Graphics_Shutdown();
