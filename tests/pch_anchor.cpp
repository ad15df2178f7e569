// Compiled only to build the precompiled header that every test binary shares.
