// The two entry points every scene offers the framework.
#pragma once

// Loads the scene's texture set; called once, last step of the GL set-up.
bool LoadSceneTextures();
// Draws one whole frame into the back buffer; the main loop swaps afterwards.
int DrawScene();
