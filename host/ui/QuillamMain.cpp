// The host program's entry: the toolkit's WinMain and the factory of the application object.
#include "host/ui/Quillam.h"

wxIMPLEMENT_APP(Ombix::Kelvane::Quillam);
