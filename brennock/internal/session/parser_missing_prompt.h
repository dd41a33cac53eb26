#pragma once

namespace brennock {

// Tells the user on standard error that the XML parser could not be created. A library shows no
// window; the text is the one the desktop prompt carries, followed by where to get the parser.
void ShowParserMissingPrompt();

}  // namespace brennock
