// Linked into every executable of the suite: the version that About boxes and
// APPL_VERSION read back. The leading NUL keeps it apart from neighbouring data.
extern "C" const char tessaron_version_marker[];
extern "C" __attribute__((used)) const char tessaron_version_marker[] =
    "\0TESSARON-FILEVERSION=" TESSARON_FILE_VERSION;
