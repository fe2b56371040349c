#include "gui/App.h"

int main(int argc, char** argv) { return orv::runApplication(argc, argv); }
