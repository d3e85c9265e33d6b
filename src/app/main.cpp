#include "app/startup.h"

int main(int argc, char** argv) { return korvan::RUN(argc, argv); }
