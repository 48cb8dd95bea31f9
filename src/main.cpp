#include "ui/CGPApp.h"

wxIMPLEMENT_APP(CGPApp);
