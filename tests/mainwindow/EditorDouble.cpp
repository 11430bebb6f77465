// The editor double is all in its header; this file lets the build find its meta-object code.

#include "EditorDouble.h"
