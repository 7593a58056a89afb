// The package's companion program, which holds files of the installation directory open.
#pragma once

// Asks its window (the title the identity names) to close, when one is open; a product
// without a companion window asks nothing. Nothing is confirmed: the
// send returns when the window has handled the request, or after a few seconds (at once
// when its program hangs), so that a companion that does not answer cannot hold the
// program up for good.
void CloseCompanionProgram();
