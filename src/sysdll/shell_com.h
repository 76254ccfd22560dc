// COM on the launcher's one thread, which the shell calls need: ShellExecuteA may hand its work
// to shell extensions and handlers activated through COM, the open-file dialog hosts them, and
// a shortcut is read through the shell's link object. The platform asks for a single-threaded
// apartment with OLE1 DDE off before such a call. OLE32 is loaded for it from the system
// directory at the first one, so a run that presses no button and is handed no shortcut never
// maps it.
#pragma once

// Initialises COM once on the calling thread, before its first shell call; later calls on the
// same thread do nothing. When OLE32 cannot be loaded or COM refuses, the shell call goes ahead
// all the same, as it always did.
void initialiseComForShell();

// Balances a successful initialisation at exit; nothing when COM was never initialised.
void releaseComForShell();
