/* The companion library of the test engine: the engine cannot be loaded
   without it. */
__declspec(dllexport) int EngineCompanionLibraryCode(void) { return 2; }
