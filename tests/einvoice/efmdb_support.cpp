// The table engine tests' helpers (child processes), built into this test program as well.
#include "common/dbf/dbftest.cpp"
