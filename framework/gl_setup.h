// The fixed initial OpenGL state every frame is drawn from.
#pragma once

bool Graphics_Init_InitScene();
