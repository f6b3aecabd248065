#pragma once
// The disc logic's messages: text `key` of the language file's "Message"
// section in a box with the information icon.

#include "util/MessageBox.h"

#include <string>

namespace disc {

// Returns the button pressed.
int ShowDiscMessage(int key, unsigned buttons = util::MB_OK);
// The text with what went wrong on a line of its own below it.
void ShowDiscMessage(int key, const std::string& detail);

} // namespace disc
