// Handing freed memory back to the system at once. The allocator keeps freed blocks below
// its mmap threshold (which grows with every large block freed) as holes in its heap; a
// hole that the next, larger picture cannot use still counts as resident memory.
#pragma once

// Returns the free pages of the allocator's heaps to the system.
void ReturnFreedMemory();
