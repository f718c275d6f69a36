// The process's hooks into its allocator and into the libraries it links (GMP, and NTL on top of
// it), installed once at the start of a run.
#pragma once

// Ends the run when memory is exhausted inside GMP or NTL, where no exception can unwind: it must
// not return. Null: the process aborts.
using OutOfMemoryEnding = void (*)();

// Keeps freed blocks of any size in the process's heap for the next allocation instead of
// returning them to the system (the arithmetic allocates and frees many large short-lived buffers,
// and a block fresh from the system costs a page fault per page); routes GMP's failed allocations
// (the modular products through Kronecker's substitution call GMP too) and NTL's out-of-memory
// errors to `ending`. Anything else NTL refuses keeps NTL's message and abort. Installing again
// replaces the ending.
void install_library_hooks(OutOfMemoryEnding ending);
