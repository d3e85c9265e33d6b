// The table engine tests' helpers (FoxPro fixtures, the Debian readers, child
// processes), built into this test program as well.
#include "common/dbf/dbftest.cpp"
