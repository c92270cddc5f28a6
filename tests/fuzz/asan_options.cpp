// The sanitizers' settings every fuzz target starts with (the environment's
// ASAN_OPTIONS still override them): a smaller quarantine of freed blocks,
// so a target stays near 100 MB resident instead of near 500; and eight
// frames of each block's allocation and release, not thirty, which every
// allocation paid for (ASAN_OPTIONS=malloc_context_size=30 when replaying a
// finding gives the whole stacks).
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=32:malloc_context_size=8"; }
