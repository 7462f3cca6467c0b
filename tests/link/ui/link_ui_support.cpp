// The link test helpers, shared with the core tests (one source, compiled into this program too).
#include "tests/link/core/link_test_support.cpp"
