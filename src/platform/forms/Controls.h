#pragma once

// The intrinsic control kinds together, for the windows that use most of them.

#include "CheckBox.h"
#include "ComboBox.h"
#include "CommandButton.h"
#include "Control.h"
#include "Image.h"
#include "Label.h"
#include "ListBox.h"
#include "PictureBox.h"
#include "StatusBar.h"
#include "TextBox.h"
