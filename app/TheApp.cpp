// The program's one application object. Kept apart so that test programs can link everything
// else and bring their own.
#include "QuireBinderApp.h"

CQuireBinderApp theApp;
