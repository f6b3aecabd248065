#pragma once
// The disc logic's messages: text `key` of the language file's "Message"
// section in a box with the information icon.

#include "util/MessageBox.h"

namespace disc {

// Returns the button pressed.
int ShowDiscMessage(int key, unsigned buttons = util::MB_OK);

} // namespace disc
