// What a test program would supply beside its scene; the framework needs it to
// link, these tests never run a scene.
#include "framework/program_profile.h"
#include "framework/scene.h"

const kovrin::framework::ProgramProfile kovrin::framework::kProgram{
    "Texture Test", "Texture Test  ", "", "x", 640, 480, 32, false};

bool LoadSceneTextures() { return true; }

int DrawScene() { return 1; }
