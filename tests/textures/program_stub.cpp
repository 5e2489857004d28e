// What a test program would supply beside its scene; the framework needs it to
// link, these tests never run a scene.
#include "program_profile.h"
#include "scene.h"

const ProgramProfile kProgram{"Texture Test", "Texture Test  ", "", "x", 640, 480, 32, false};

bool LoadSceneTextures() { return true; }

int DrawScene() { return 1; }
