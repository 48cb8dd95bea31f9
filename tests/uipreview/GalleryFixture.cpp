// The shared window-test fixture, compiled into this suite too.
#include "../uicontrols/GalleryFixture.cpp"
