// The sanitizers' settings every fuzz target starts with (the environment's
// ASAN_OPTIONS still override them): a smaller quarantine of freed blocks,
// so a target stays near 100 MB resident instead of near 500.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=32"; }
