#pragma once

#include <Qt>

#include "view/gl/teclas.h"

// The animation window's key as its table knows it. Letters count whatever the modifiers,
// but Ctrl+S is the save key; a digit of the main row also with Shift (it then arrives as its
// symbol); plus and minus only from the numeric pad.
tevra::Tecla teclaDaJanela(int tecla, Qt::KeyboardModifiers modificadores);
